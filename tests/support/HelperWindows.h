// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/linux/x11/WindowControl.h"
#include "platform/linux/x11/WindowWalk.h"

#include <QProcess>
#include <QTest>

#include <set>

// Windows of a helper process of ours that close when asked, as ordinary
// programs' windows do, or ignore the request. Titled "TITLE 0", "TITLE 1"...
// (just TITLE for one window); the helper ends once all of them closed.
class HelperWindows
{
public:
    HelperWindows(int count, const QString &title, bool ignoring = false)
    {
        QStringList arguments{QStringLiteral("windows"), QString::number(count), title};
        if (ignoring)
            arguments.append(QStringLiteral("ignore"));
        m_process.start(qEnvironmentVariable("TRELVANIX_BUILD_DIR") +
                            QStringLiteral("/trelvanix-xtool"),
                        arguments);
    }
    ~HelperWindows()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    // True once every window is shown and, with a manager, taken on.
    bool waitUntilShown()
    {
        return m_process.waitForReadyRead(20000) && m_process.readLine().trimmed() == "ready";
    }
    bool allClosed(int waitMs)
    {
        const bool ended =
            m_process.state() == QProcess::NotRunning || m_process.waitForFinished(waitMs);
        return ended && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    qint64 processId() const { return m_process.processId(); }

private:
    QProcess m_process;
};

// Close requests to helper windows: every cooperating one closes, within the
// wait, and the one that ignores them stays.
inline void checkCloseRequestsOnThisDisplay(int cooperating)
{
    HelperWindows closing(cooperating, QStringLiteral("Trelvanix closing"));
    HelperWindows stubborn(1, QStringLiteral("Trelvanix stubborn"), true);
    QVERIFY(closing.waitUntilShown() && stubborn.waitUntilShown());
    auto x = std::make_shared<XConnection>();
    X11WindowWalk walk(x);
    X11WindowControl control(x);
    const auto windowsTitled = [&walk](const QString &prefix) {
        std::vector<WindowHandle> found;
        for (WindowHandle w = walk.first(0); w != 0; w = walk.next(w))
            if (walk.title(w, 256).startsWith(prefix))
                found.push_back(w);
        return found;
    };
    const auto ours = windowsTitled(QStringLiteral("Trelvanix "));
    QCOMPARE(ours.size(), std::size_t(cooperating + 1));
    for (const WindowHandle window : ours)
        control.requestClose(window);
    control.waitUntilClosed(windowsTitled(QStringLiteral("Trelvanix closing")),
                            std::chrono::steady_clock::now() + std::chrono::seconds(10));
    QCOMPARE(windowsTitled(QStringLiteral("Trelvanix ")).size(), 1u);
    QVERIFY(closing.allClosed(5000));
    QCOMPARE(windowsTitled(QStringLiteral("Trelvanix stubborn")).size(), 1u);
}
