// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>

// A native Wayland client of ours, driven line by line: it opens, retitles
// and closes xdg toplevels and says so on its output.
class WaylandClient
{
public:
    explicit WaylandClient(const QString &appId = QStringLiteral("trelvanix-test"))
    {
        m_process.start(qEnvironmentVariable("TRELVANIX_BUILD_DIR") +
                            QStringLiteral("/trelvanix-wlclient"),
                        {QStringLiteral("--app-id"), appId});
    }
    ~WaylandClient()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }

    void send(const QString &line) { m_process.write(line.toUtf8() + '\n'); }
    // Waits until the client reports `line`; earlier reports are passed over.
    bool await(const QString &line, int waitMs = 10000)
    {
        const QDeadlineTimer deadline(waitMs);
        for (;;) {
            while (m_process.canReadLine())
                if (QString::fromUtf8(m_process.readLine()).trimmed() == line)
                    return true;
            if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime())))
                return false;
        }
    }
    bool open(const QString &key, const QString &title)
    {
        send(QStringLiteral("open %1 %2").arg(key, title));
        return await(QStringLiteral("mapped ") + key);
    }

private:
    QProcess m_process;
};
