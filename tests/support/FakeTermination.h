// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ProcessControl.h"
#include "platform/WindowControl.h"
#include "support/FakeProcessSnapshot.h"
#include "support/FakeWindows.h"

#include <algorithm>
#include <limits>
#include <set>
#include <thread>

// Ends processes of a fake process table: an ended one leaves the table.
// Each open handle takes one of `freeHandles`, as a descriptor would.
class FakeProcessControl : public ProcessControl
{
public:
    explicit FakeProcessControl(FakeProcessSnapshotSource &table) : m_table(table) {}

    OpenedProcess open(quint32 id, std::optional<quint64> identity) override
    {
        opened.push_back(id);
        if (held == freeHandles)
            return {nullptr, true};
        const bool live = std::any_of(m_table.entries.begin(), m_table.entries.end(),
                                      [id](const ProcessEntry &e) { return e.processId == id; });
        if (!live || identity != m_table.startTime(id))
            return {};
        return {std::make_unique<Handle>(*this, id)};
    }
    std::size_t handlesToHold() const override { return holdable; }
    // Returns at once, unless a process of the batch is `slowToExit`: then at
    // the deadline, as the real wait would.
    void waitUntilExited(const std::vector<ProcessHandle *> &handles, Deadline deadline) override
    {
        waits.push_back(handles.size());
        const bool slow = std::any_of(handles.begin(), handles.end(), [this](ProcessHandle *h) {
            return slowToExit.count(static_cast<Handle *>(h)->id()) > 0;
        });
        if (slow && deadline > Deadline::clock::now()) {
            waited += deadline - Deadline::clock::now();
            std::this_thread::sleep_until(deadline);
        }
    }

    std::set<quint32> refusing;   // processes that cannot be ended (another user's)
    std::set<quint32> slowToExit; // ended, but the kernel holds them up
    std::size_t freeHandles = std::numeric_limits<std::size_t>::max();
    std::size_t holdable = 1024;
    std::size_t held = 0;
    std::size_t mostHeld = 0;
    std::vector<quint32> opened;
    std::vector<quint32> ended;
    std::vector<std::size_t> waits; // the size of each batch waited for
    Deadline::duration waited{};    // how long waits for slow processes took

private:
    class Handle : public ProcessHandle
    {
    public:
        Handle(FakeProcessControl &control, quint32 id) : m_control(control), m_id(id)
        {
            m_control.mostHeld = std::max(m_control.mostHeld, ++m_control.held);
        }
        ~Handle() override { --m_control.held; }
        bool terminate(quint32) override { return m_control.end(m_id); }
        quint32 id() const { return m_id; }

    private:
        FakeProcessControl &m_control;
        quint32 m_id;
    };

    bool end(quint32 id)
    {
        if (refusing.count(id))
            return false;
        std::erase_if(m_table.entries, [id](const ProcessEntry &e) { return e.processId == id; });
        ended.push_back(id);
        return true;
    }

    FakeProcessSnapshotSource &m_table;
};

// Close requests to a fake desktop: a window closes when asked unless it is
// one of `ignoring`.
class FakeWindowControl : public WindowControl
{
public:
    explicit FakeWindowControl(FakeWindowWalk &desktop) : m_desktop(desktop) {}

    void requestClose(WindowHandle window) override
    {
        requests.push_back(window);
        if (!ignoring.count(window))
            std::erase_if(m_desktop.windows,
                          [window](const auto &w) { return w.handle == window; });
    }
    void waitUntilClosed(const std::vector<WindowHandle> &windows, Deadline) override
    {
        waits.push_back(windows.size());
    }

    std::set<WindowHandle> ignoring;
    std::vector<WindowHandle> requests;
    std::vector<std::size_t> waits;

private:
    FakeWindowWalk &m_desktop;
};
