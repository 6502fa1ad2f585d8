// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

class Form1;

// What may run while the main window is midway through its work and yields
// to the event loop: start-up, a refresh (between its process pass and its
// task pass), a kill pass (in a box or in its closing refresh).
//
// - A command pressed during a refresh is deferred, since it would act on a
//   half-built list: it runs from the event loop once the refresh is over, in
//   the order pressed; a press that repeats the one just before adds nothing.
// - A refresh asked for during a refresh (a second press, a tick, a kill
//   pass) is repeated: run inside, it would append the tasks twice; it runs
//   once, right after the current one, so that it still sees what changed.
// - Dropped: a second kill press during a kill pass (even in its closing
//   refresh); a timer tick during a kill pass, whose refresh would rebuild
//   the list under the pass's walk (the deadline stands, the first tick
//   after honours it); a tick while an end waits, so that ticks cannot keep a
//   refresh going; user input on the running list during a refresh, since a
//   click would land on a row the user cannot see.
// - An end asked for waits until nothing is midway, then runs from the event
//   loop: ending earlier would save a kill list not yet restored, or leave
//   the later rows of a pass running. Meanwhile a refresh is not repeated,
//   and a kill pass ends no further row and skips its closing refresh.
// Everything else runs at once.
class YieldRule
{
public:
    using Command = void (Form1::*)();

    void startUpEnds() { m_startingUp = false; }

    // False when a refresh is running: it runs once more instead.
    bool refreshStarts();
    // At the end of each pass of the refresh: true when it is to run again.
    bool refreshRunsAgain();
    // True when deferred commands wait.
    bool refreshEnds();
    // True when the command is deferred rather than run now.
    bool defers(Command command);
    std::vector<Command> takeDeferred();
    bool dropsListInput() const { return m_refreshing; }

    bool dropsKillPress() const { return m_killBusy; }
    void killPassStarts() { m_killBusy = true; }
    void killPassEnds() { m_killBusy = false; }
    // Whether the pass ends its next row, or refreshes at its close.
    bool killPassGoesOn() const { return !m_endWaits; }
    const bool &killBusy() const { return m_killBusy; }

    bool dropsTick() const { return m_killBusy || m_endWaits; }

    void endAskedFor() { m_endWaits = true; }
    bool endWaits() const { return m_endWaits; }
    bool isMidway() const { return m_startingUp || m_refreshing || m_killBusy; }
    bool endRuns() const { return m_endWaits && !isMidway(); }

private:
    bool m_startingUp = true;
    bool m_refreshing = false;
    bool m_refreshAgain = false;
    bool m_killBusy = false;
    bool m_endWaits = false;
    std::vector<Command> m_deferred;
};
