// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Driving the real program and this process's windows on a real display:
// clicks and keys through xdotool, boxes answered from inside their own loop.
#include "app/Form1Layout.h"
#include "common/Twips.h"
#include "support/XTestDisplay.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <stdexcept>

inline bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

inline QPoint twipsToPixels(QPoint twips, double dotsPerInch)
{
    return QPoint(twipsToPixels(twips.x(), dotsPerInch), twipsToPixels(twips.y(), dotsPerInch));
}

inline QPoint twipsToPixels(QPoint twips)
{
    return twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

// A control's place in twips, from the program's own table; a name it lacks
// stops the build of a constant.
constexpr QRect placeOf(std::string_view control)
{
    for (const auto &[name, twips] : Form1Layout::places)
        if (name == control)
            return twips;
    throw std::invalid_argument("no such control");
}

// Where a user clicks a control, in twips within the main window's client
// area: a button or box in its middle, a check box or option by its mark.
constexpr QPoint middleOf(std::string_view control)
{
    const QRect place = placeOf(control);
    return place.topLeft() + QPoint(place.width() / 2, place.height() / 2);
}
constexpr QPoint markOf(std::string_view control)
{
    return placeOf(control).topLeft() + QPoint(150, placeOf(control).height() / 2);
}
constexpr QPoint inFrame2(QPoint place)
{
    return placeOf("Frame2").topLeft() + place;
}

// Clicks at a place, in pixels, within a window's client area.
inline bool clickInWindow(xcb_window_t window, QPoint pixels)
{
    // A window manager may take a click on an inactive window for itself. The move has no
    // --sync: that waits for the pointer to leave its place, 15 s in vain when it is there
    // already (the same control of a restarted window); the server moves it before the click.
    return xdotool({"windowactivate", "--sync", QString::number(window)}) &&
           xdotool({"mousemove", "--window", QString::number(window), QString::number(pixels.x()),
                    QString::number(pixels.y()), "click", "1"});
}

// Once a modal box or prompt of this process is open and active, hands it to
// `act`; it runs inside the box's own event loop. Gives up after 20 s.
inline void whenModalOpens(std::function<void(QWidget *)> act)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act), tries = 0]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if ((!modal || !modal->isActiveWindow()) && ++tries < 200)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal)
            act(modal);
    });
    poll->start(100);
}

// A copy of `program` under another name, so that only it carries the name.
inline QString copyAs(const QTemporaryDir &dir, const QString &program, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile::copy(program, path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    return path;
}

// The real program with its own settings folder.
class Program
{
public:
    using Adjustment = std::function<void(QProcessEnvironment &)>;

    explicit Program(const QString &configFolder,
                     const QString &path = qEnvironmentVariable("TRELVANIX_BUILD_DIR") +
                                           QStringLiteral("/trelvanix"),
                     const QString &display = qEnvironmentVariable("DISPLAY"),
                     const Adjustment &adjust = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
        environment.insert(QStringLiteral("DISPLAY"), display);
        if (adjust)
            adjust(environment);
        m_process.setProcessEnvironment(environment);
        m_process.start(path);
    }
    ~Program()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Waits for the main window; 0 when it did not come.
    xcb_window_t mainWindow(XTestDisplay &x, int milliseconds = 20000)
    {
        for (int tries = 0; tries < milliseconds / 100 && m_window == 0; ++tries) {
            const auto windows = x.windowsOfProcess(m_process.processId());
            if (!windows.empty())
                m_window = windows.front();
            else
                QTest::qWait(100);
        }
        return m_window;
    }

    // Clicks at a place given in twips within the main window's client area.
    bool clickAt(QPoint twips) { return clickInWindow(m_window, twipsToPixels(twips)); }

    bool closeAndWait(XTestDisplay &x)
    {
        x.requestClose(m_window);
        return m_process.waitForFinished(10000) && m_process.exitCode() == 0;
    }

    qint64 processId() const { return m_process.processId(); }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    xcb_window_t m_window = 0;
};

inline QString storeText(const QTemporaryDir &config)
{
    QFile file(config.filePath(QStringLiteral("Quorbel.conf")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

inline bool stores(const QTemporaryDir &config, const QString &line)
{
    return storeText(config).split(QLatin1Char('\n')).contains(line);
}
