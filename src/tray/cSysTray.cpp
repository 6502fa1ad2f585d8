// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tray/cSysTray.h"

#include "common/Failure.h"
#include "common/Twips.h"
#include "tray/PropertyBag.h"
#include "tray/mSysTray.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopedValueRollback>
#include <QTimer>

#include <limits>

namespace
{
using Request = NotifyIconShell::Request;
using R = NotifyIconRecord;
constexpr int faceTwips = 510;
const QString defaultTip = QStringLiteral("Telnet Server");
} // namespace

cSysTray::cSysTray(NotifyIconShell &shell, WindowProcedureHook &windows, QWidget *host)
    : QWidget(host), m_shell(shell), m_windows(windows)
{
    m_ownerWindow = m_windows.windowOf(this);
    const int face = twipsToPixels(faceTwips, logicalDpiX());
    setFixedSize(face, face); // whatever size the host asks for
    hide();
}

cSysTray::~cSysTray()
{
    if (m_inTray)
        setInTray(false);
}

NotifyIconRecord cSysTray::recordFor(quint32 flags) const
{
    NotifyIconRecord record;
    record.setNumber(R::cbSize, R::size);
    record.setNumber(R::hWnd, m_ownerWindow);
    record.setNumber(R::uID, m_iconId);
    record.setNumber(R::uFlags, flags);
    return record;
}

void cSysTray::setInTray(bool Show)
{
    if (Show == m_inTray)
        return;
    if (Show && m_userMode) {
        const WindowProcedureHook &windows = m_windows;
        mSysTray::SavedWindowProc = m_windows.replace(
            m_ownerWindow, [&windows](WindowHandle w, quint32 m, quintptr wp, qintptr lp) {
                return mSysTray::TrayWindowProc(windows, w, m, wp, lp);
            });
        m_windows.setUserData(m_ownerWindow, reinterpret_cast<quintptr>(this));
        AddToTray();
        m_iconAdded = true;
    } else if (!Show && m_iconAdded) {
        RemoveFromTray();
        m_windows.replace(m_ownerWindow, mSysTray::SavedWindowProc);
        m_iconAdded = false;
    }
    m_inTray = Show;
    emit PropertyChanged(QStringLiteral("InTray"));
}

void cSysTray::AddToTray()
{
    quint32 flags = R::Message;
    NotifyIconRecord record = recordFor(0);
    if (!m_trayIcon.isNone()) {
        record.setNumber(R::hIcon, m_shell.iconHandle(m_trayIcon.image));
        flags |= R::Icon;
    }
    if (!m_trayTip.isEmpty()) {
        record.setText(R::szTip, R::tipSize, m_trayTip);
        flags |= R::Tip;
    }
    record.setNumber(R::uFlags, flags);
    record.setNumber(R::uCallbackMessage, mSysTray::TrayCallbackMessage);
    m_shell.notify(Request::Add, record);
}

void cSysTray::RemoveFromTray()
{
    m_shell.notify(Request::Delete, recordFor(0));
}

void cSysTray::setTrayIcon(const Picture &Icon)
{
    if (Icon.type != Picture::Icon)
        return; // none, bitmaps and metafiles are ignored without a word
    if (m_iconAdded) {
        NotifyIconRecord record = recordFor(R::Icon);
        record.setNumber(R::hIcon, m_shell.iconHandle(Icon.image));
        m_shell.notify(Request::Modify, record);
    }
    m_trayIcon = Icon;
    emit PropertyChanged(QStringLiteral("TrayIcon"));
}

void cSysTray::setTrayTip(const QString &Tip)
{
    if (m_iconAdded) {
        NotifyIconRecord record = recordFor(R::Tip);
        record.setText(R::szTip, R::tipSize, Tip);
        m_shell.notify(Request::Modify, record);
    }
    m_trayTip = Tip;
    emit PropertyChanged(QStringLiteral("TrayTip"));
}

void cSysTray::ShowBalloon(const QString &Tip, const QString &sTitle, qint32 ShowTimer,
                           bool ShowOnce)
{
    if (ShowOnce && m_onceCount >= 1)
        return;
    NotifyIconRecord record = recordFor(R::Info);
    record.setText(R::szInfoTitle, R::infoTitleSize, sTitle);
    record.setText(R::szInfo, R::infoSize, Tip);
    if (ShowTimer > 0) {
        if (ShowTimer > std::numeric_limits<qint32>::max() / 1000)
            throw Failure(QStringLiteral("Overflow"));
        record.setNumber(R::uTimeout, static_cast<quint32>(ShowTimer * 1000));
    }
    m_shell.notify(Request::Modify, record);
    m_balloonShowing = true;
    if (ShowOnce) {
        if (m_onceCount == std::numeric_limits<qint32>::max())
            throw Failure(QStringLiteral("Overflow"));
        ++m_onceCount;
    }
    if (ShowTimer <= 0)
        return;
    waitForBalloon(ShowTimer);
    if (m_balloonShowing) // no word from the shell: take it down ourselves
        m_shell.notify(Request::Modify, recordFor(R::Info));
}

// Handles events until the balloon has gone or its time is over. A loop of
// the toolkit's own, so that an exit asked for meanwhile ends it as well as
// the loops around it: a wait that went on handling events would, on
// Windows, keep the outer loop from ever seeing the exit. The deadline is a
// coarse timer: under Wine a precise one's event does not end a round of
// waiting. One that comes early is started again for the rest.
void cSysTray::waitForBalloon(qint32 seconds)
{
    const qint64 limit = qint64(seconds) * 1000;
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop wait;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::CoarseTimer);
    const auto startForTheRest = [&] {
        const qint64 left = limit - elapsed.elapsed();
        if (left <= 0)
            wait.quit();
        else // a wait longer than one timer can hold comes back here
            deadline.start(
                static_cast<int>(std::min<qint64>(left, std::numeric_limits<int>::max())));
    };
    connect(&deadline, &QTimer::timeout, &wait, startForTheRest);
    startForTheRest();
    const QScopedValueRollback<QEventLoop *> waiting(m_balloonWait, &wait);
    if (m_balloonShowing)
        wait.exec();
}

void cSysTray::DispatchTrayMessage(qintptr message, quintptr id)
{
    const auto Id = static_cast<quint32>(id);
    switch (message) {
    case MouseMoved:
        emit MouseMove(Id);
        break;
    case LeftDown:
    case RightDown:
        emit MouseDown(message == LeftDown ? 1 : 2, Id);
        break;
    case LeftUp:
    case RightUp:
        emit MouseUp(message == LeftUp ? 1 : 2, Id);
        break;
    case LeftDoubleClick:
    case RightDoubleClick:
        emit MouseDblClick(message == LeftDoubleClick ? 1 : 2, Id);
        break;
    case BalloonHidden:
    case BalloonTimedOut:
    case BalloonClicked:
        m_balloonShowing = false;
        if (m_balloonWait)
            m_balloonWait->quit();
        break;
    default:
        break;
    }
}

void cSysTray::InitProperties()
{
    setInTray(false);
    setTrayTip(defaultTip);
    setTrayIcon(Picture{}); // the face has no picture of its own
}

void cSysTray::ReadProperties(const PropertyBag &bag)
{
    setInTray(bag.ReadProperty(QStringLiteral("InTray"), false).toBool());
    setTrayIcon(bag.ReadProperty(QStringLiteral("TrayIcon"), QVariant::fromValue(Picture{}))
                    .value<Picture>());
    setTrayTip(bag.ReadProperty(QStringLiteral("TrayTip"), defaultTip).toString());
}

void cSysTray::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("InTray"), m_inTray);
    bag.WriteProperty(QStringLiteral("TrayIcon"), QVariant::fromValue(m_trayIcon));
    bag.WriteProperty(QStringLiteral("TrayTip"), m_trayTip);
}
