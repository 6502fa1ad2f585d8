// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

// Our skin framework: a skin is a Qt style sheet in a UTF-8 text file. It is
// driven as the window's start-up drives it: load, options, then apply.
class SkinEngine
{
public:
    enum Option : quint32 { Enabled = 1 };

    // Loads the skin from the bytes of the skin file at `path`, read by the
    // caller (at most largestFile + 1 of them); `part` names one part of a
    // file that holds several (each begins with a line "/* [name] */"), empty
    // for the whole file. Throws Failure when they hold no skin, or a skin
    // whose pictures (url(...)) might be anything but plain files: Qt would
    // wait in the open of a FIFO for a writer.
    void loadSkin(const QString &path, const QByteArray &bytes, const QString &part);

    quint32 options() const { return m_options; }
    void setOptions(quint32 options) { m_options = options; }
    // The program's message boxes and prompts take the skin too.
    void setSkinsDialogs(bool on) { m_skinsDialogs = on; }
    // Tool tips take the skinned window's colours and font.
    void setSkinsToolTips(bool on) { m_skinsToolTips = on; }

    // Applies the loaded skin to the window and its controls.
    void applyToWindow(WId window) const;

    // The largest skin file read; anything bigger is refused unread.
    static constexpr qint64 largestFile = 256 * 1024;

private:
    QString m_sheet;
    quint32 m_options = 0;
    bool m_skinsDialogs = false;
    bool m_skinsToolTips = false;
};
