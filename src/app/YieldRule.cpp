// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/YieldRule.h"

#include <utility>

bool YieldRule::refreshStarts()
{
    if (m_refreshing) {
        m_refreshAgain = true;
        return false;
    }
    m_refreshing = true;
    return true;
}

bool YieldRule::refreshRunsAgain()
{
    return std::exchange(m_refreshAgain, false) && !m_endWaits;
}

bool YieldRule::refreshEnds()
{
    m_refreshing = false;
    return !m_deferred.empty();
}

bool YieldRule::defers(Command command)
{
    if (!m_refreshing)
        return false;
    if (m_deferred.empty() || m_deferred.back() != command)
        m_deferred.push_back(command);
    return true;
}

std::vector<YieldRule::Command> YieldRule::takeDeferred()
{
    return std::exchange(m_deferred, {});
}
