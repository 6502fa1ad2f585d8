// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A skin file a user drops beside the program: loaded and applied to a window
// with the main window's kinds of controls.
#include "common/Failure.h"
#include "common/SkinEngine.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTreeView>

#include <unistd.h>

namespace
{
QWidget *window = nullptr;
const QString skinPath = QStringLiteral("o.cjs");
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QApplication application(*argc, *argv);
    window = new QWidget;
    new QPushButton(QStringLiteral("Kill Selected Processes"), window);
    new QCheckBox(QStringLiteral("Keep This Window On Top"), new QGroupBox(window));
    new QTreeView(window);
    window->winId();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    SkinEngine engine;
    try {
        engine.loadSkin(
            skinPath,
            QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)),
            size % 2 ? QStringLiteral("dark") : QString());
    } catch (const Failure &) {
        return 0;
    }
    engine.setOptions(SkinEngine::Enabled);
    engine.setSkinsToolTips(true);
    engine.applyToWindow(window->winId());
    for (QWidget *widget : window->findChildren<QWidget *>())
        widget->ensurePolished();
    window->grab();
    return 0;
}
