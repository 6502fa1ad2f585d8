// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The tray icon: a minimise hides the window there, a click on it brings the
// window back.
#include "app/Form1.h"

#include "common/AppIcon.h"
#include "common/ApplicationTitle.h"
#include "platform/PlatformServices.h"
#include "tray/PropertyBag.h"
#include "tray/cSysTray.h"

#include <QEvent>
#include <QTimer>

namespace
{
const QString balloonText =
    QStringLiteral("has been minimized to the system tray.\r\n"
                   "Click on the blue 'Q' icon (Q for Quorbel) to bring the software back.");
constexpr qint32 balloonSeconds = 5;
constexpr int trayWatchMilliseconds = 1000;

// The tray control as the main window's stored data holds it.
MemoryPropertyBag storedTrayControl()
{
    MemoryPropertyBag bag;
    bag.values.insert(QStringLiteral("InTray"), false);
    const Picture icon{Picture::Icon, appIcon()};
    bag.values.insert(QStringLiteral("TrayIcon"), QVariant::fromValue(icon));
    bag.values.insert(QStringLiteral("TrayTip"), QStringLiteral("Telnet Server"));
    return bag;
}
} // namespace

void Form1::createTrayControl()
{
    cSysTray1 = new cSysTray(*m_platform.notifyIconShell, *m_platform.windowProcedures, this);
    cSysTray1->setObjectName(QStringLiteral("cSysTray1"));
    cSysTray1->ReadProperties(storedTrayControl());
    connect(cSysTray1, &cSysTray::MouseUp, this, &Form1::cSysTray1_MouseUp);
    m_trayWatch = new QTimer(this);
    m_trayWatch->setInterval(trayWatchMilliseconds);
    connect(m_trayWatch, &QTimer::timeout, this, &Form1::watchTrayWhileHidden);
}

void Form1::changeEvent(QEvent *event)
{
    // After the state has settled, and outside the event that reports it: the
    // balloon's wait handles events of its own.
    if (event->type() == QEvent::WindowStateChange)
        QMetaObject::invokeMethod(this, &Form1::Form_Resize, Qt::QueuedConnection);
    QWidget::changeEvent(event);
}

void Form1::Form_Resize()
{
    if (!isMinimized() || minimizedToTray)
        return;
    // Hidden must not mean unreachable: with no notification area to bring it
    // back from, the window stays minimised the ordinary way.
    if (!m_platform.notifyIconShell->isAvailable())
        return;
    // The minimised state stays until the window comes back: clearing it on a
    // window being withdrawn makes Qt map it again, and the window manager may
    // then show it while we count it hidden.
    hide();
    minimizedToTray = true;
    m_trayWatch->start();
    cSysTray1->ShowBalloon(balloonText, QString::fromLatin1(productName), balloonSeconds, true);
}

// Hidden must stay reachable: should the notification area go away, the
// window comes back minimised the ordinary way.
void Form1::watchTrayWhileHidden()
{
    if (!minimizedToTray) {
        m_trayWatch->stop();
    } else if (!m_platform.notifyIconShell->isAvailable()) {
        m_trayWatch->stop();
        minimizedToTray = false;
        showMinimized();
    }
}

void Form1::cSysTray1_MouseUp(qint16, quint32)
{
    const bool wasHidden = !isVisible();
    showNormal();
    raise();
    activateWindow();
    // Hiding withdrew the window, and the window manager forgot its place on top.
    if (wasHidden && keptOnTop())
        m_platform.windowOrder->makeTopmost(ownWindow());
    // As a taskbar asks it: a window manager may refuse an application's own
    // request for the focus, but not the user's click on the icon.
    m_platform.windowOrder->activate(ownWindow());
    minimizedToTray = false;
}
