// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the benchmarks share: extra processes and windows they start and end
// themselves, and timing.
#include "platform/linux/x11/XConnection.h"

#include <xcb/xcb.h>

#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

// `count` sleeping processes, ended by their PIDs when the object goes.
class Sleepers
{
public:
    explicit Sleepers(int count);
    ~Sleepers();
    Sleepers(const Sleepers &) = delete;
    Sleepers &operator=(const Sleepers &) = delete;
    std::size_t count() const { return m_pids.size(); }
    const std::vector<pid_t> &pids() const { return m_pids; }

private:
    std::vector<pid_t> m_pids;
};

// `count` titled top-level windows on the display, shown and taken on by the
// window manager; they go with the object's connection.
class BenchWindows
{
public:
    explicit BenchWindows(int count);
    ~BenchWindows();
    BenchWindows(const BenchWindows &) = delete;
    BenchWindows &operator=(const BenchWindows &) = delete;
    std::size_t count() const { return m_windows.size(); }

private:
    xcb_connection_t *m_c;
    std::vector<xcb_window_t> m_windows;
};

// The median time of `work` over `repetitions` runs, in milliseconds.
double medianMs(const std::function<void()> &work, int repetitions = 15);

// This process's CPU time (user + system) so far, in seconds.
double ownCpuSeconds();
