// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "common/ToolkitStart.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

namespace
{
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
// Qt's own threads may log while the application starts.
std::mutex heldLock;
std::vector<HeldMessage> heldMessages;

// Qt's own advice to reinstall says less than the warning before it.
QString reasonOf(const QString &fatal)
{
    for (auto held = heldMessages.rbegin(); held != heldMessages.rend(); ++held)
        if (held->type != QtDebugMsg && held->type != QtInfoMsg)
            return held->text;
    return fatal.section(QLatin1Char('\n'), 0, 0);
}

void holdOrFail(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard lock(heldLock);
    if (type != QtFatalMsg) {
        heldMessages.push_back({type, context.category, text});
        return;
    }
    reportNoDisplay(QStringLiteral("the display could not be used: ") + reasonOf(text));
    std::_Exit(2);
}
} // namespace

void reportNoDisplay(const QString &problem)
{
    std::fprintf(stderr,
                 "trelvanix: %s. It needs an X11 display; `make run` starts a private one.\n",
                 qPrintable(problem.simplified()));
}

ToolkitStartWatch::ToolkitStartWatch()
{
    previousHandler = qInstallMessageHandler(holdOrFail);
}

ToolkitStartWatch::~ToolkitStartWatch()
{
    qInstallMessageHandler(previousHandler);
    std::vector<HeldMessage> held;
    {
        const std::lock_guard lock(heldLock);
        held = std::exchange(heldMessages, {});
    }
    for (const HeldMessage &each : held)
        qt_message_output(each.type,
                          QMessageLogContext(nullptr, 0, nullptr, each.category.constData()),
                          each.text);
}
