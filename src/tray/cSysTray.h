// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "common/Picture.h"
#include "platform/NotifyIcon.h"
#include "platform/WindowProcedure.h"

#include <QWidget>

class PropertyBag;
class QEventLoop;

// A control, hosted on a form, that owns one icon in the notification area:
// its picture, its tip and balloon messages, and the mouse on it as events.
// Its own (never shown) window owns the icon and receives the shell's
// notifications through the hook of mSysTray while the icon is shown.
class cSysTray : public QWidget
{
    Q_OBJECT

public:
    cSysTray(NotifyIconShell &shell, WindowProcedureHook &windows, QWidget *host);
    ~cSysTray() override;

    bool InTray() const { return m_inTray; }
    void setInTray(bool Show);
    const Picture &TrayIcon() const { return m_trayIcon; }
    void setTrayIcon(const Picture &Icon);
    const QString &TrayTip() const { return m_trayTip; }
    void setTrayTip(const QString &Tip);

    // Shows a balloon from the icon. With a positive ShowTimer it returns once
    // the balloon has gone or its seconds are over, handling events meanwhile.
    void ShowBalloon(const QString &Tip, const QString &sTitle, qint32 ShowTimer, bool ShowOnce);
    // One notification from the shell: a mouse message or a balloon one.
    void DispatchTrayMessage(qintptr message, quintptr id);

    // What the host tells or asks of the control; the host's interface names
    // them all, whether or not this program's host calls each one.
    void setUserMode(bool running) { m_userMode = running; }
    void InitProperties();
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    WindowHandle ownerWindow() const { return m_ownerWindow; }
    bool BalloonShowing() const { return m_balloonShowing; }
    qint32 OnceCount() const { return m_onceCount; }

signals:
    void MouseMove(quint32 Id);
    void MouseDown(qint16 Button, quint32 Id);
    void MouseUp(qint16 Button, quint32 Id);
    void MouseDblClick(qint16 Button, quint32 Id);
    // A property changed, by its name, so that the host saves it.
    void PropertyChanged(const QString &name);

private:
    NotifyIconRecord recordFor(quint32 flags) const;
    void AddToTray();
    void RemoveFromTray();
    void waitForBalloon(qint32 seconds);

    NotifyIconShell &m_shell;
    WindowProcedureHook &m_windows;
    WindowHandle m_ownerWindow = 0;
    quint32 m_iconId = 0;
    bool m_inTray = false;
    bool m_iconAdded = false;
    bool m_balloonShowing = false;
    QEventLoop *m_balloonWait = nullptr; // while a balloon is waited for
    qint32 m_onceCount = 0;
    bool m_userMode = true; // no form designer here: the host always runs
    Picture m_trayIcon;
    QString m_trayTip;
};
