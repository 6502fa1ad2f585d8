// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/WindowTypes.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

// Whether a window or a process that a pass meets is the program's own: the
// one place where that is decided, for the task pass and the session's walk
// over native windows, which leave the program's windows out, and for the
// kill pass, which ends the program's own process last, as a close does.
class OwnProgram
{
public:
    // What a pass knows of what it met; each field where the system says it.
    struct Seen {
        WindowHandle handle = 0;
        std::optional<qint64> processId;
        QString appId;
        QString title;

        static Seen window(WindowHandle handle) { return {handle, std::nullopt, {}, {}}; }
        static Seen process(qint64 id) { return {0, id, {}, {}}; }
        static Seen named(std::optional<qint64> id, const QString &appId, const QString &title)
        {
            return {0, id, appId, title};
        }
    };

    // The program's windows by handle, where the system hands those out; and
    // how its windows name themselves, for a compositor that gives neither
    // our handles nor process IDs.
    explicit OwnProgram(std::vector<WindowHandle> windows = {}, std::vector<QString> appIds = {},
                        std::vector<QString> titles = {})
        : m_windows(std::move(windows)), m_appIds(std::move(appIds)), m_titles(std::move(titles))
    {
    }

    // Ours when its process is ours, or it is one of our windows. Where the
    // system says neither, a window of one of our application IDs that shows
    // one of our titles; but no more of them, over one pass, than we show
    // with that title, so that another program that takes our name and
    // title stays listed.
    bool owns(const Seen &seen)
    {
        if (seen.processId)
            return *seen.processId == QCoreApplication::applicationPid();
        if (seen.handle != 0 &&
            std::find(m_windows.begin(), m_windows.end(), seen.handle) != m_windows.end())
            return true;
        if (!anyIgnoringCase(m_appIds, seen.appId))
            return false;
        const auto title = findIgnoringCase(m_titles, seen.title);
        if (title == m_titles.end())
            return false;
        m_titles.erase(title);
        return true;
    }

private:
    static std::vector<QString>::iterator findIgnoringCase(std::vector<QString> &texts,
                                                           const QString &text)
    {
        return std::find_if(texts.begin(), texts.end(), [&](const QString &candidate) {
            return candidate.compare(text, Qt::CaseInsensitive) == 0;
        });
    }
    static bool anyIgnoringCase(std::vector<QString> &texts, const QString &text)
    {
        return findIgnoringCase(texts, text) != texts.end();
    }

    std::vector<WindowHandle> m_windows;
    std::vector<QString> m_appIds;
    std::vector<QString> m_titles;
};
