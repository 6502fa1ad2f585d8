#pragma once

#include "platform/ProcessControl.h"
#include "platform/WindowControl.h"
#include "support/FakeProcessSnapshot.h"
#include "support/FakeWindows.h"

#include <algorithm>
#include <set>

// Ends processes of a fake process table: an ended one leaves the table.
class FakeProcessControl : public ProcessControl
{
public:
    explicit FakeProcessControl(FakeProcessSnapshotSource &table) : m_table(table) {}

    std::unique_ptr<ProcessHandle> open(quint32 id, std::optional<quint64> identity) override
    {
        opened.push_back(id);
        const bool live = std::any_of(m_table.entries.begin(), m_table.entries.end(),
                                      [id](const ProcessEntry &e) { return e.processId == id; });
        if (!live || identity != m_table.startTime(id))
            return nullptr;
        return std::make_unique<Handle>(*this, id);
    }
    void waitUntilExited(const std::vector<ProcessHandle *> &handles, Deadline) override
    {
        waits.push_back(handles.size());
    }

    std::set<quint32> refusing; // processes that cannot be ended (another user's)
    std::vector<quint32> opened;
    std::vector<quint32> ended;
    std::vector<std::size_t> waits; // the size of each batch waited for

private:
    class Handle : public ProcessHandle
    {
    public:
        Handle(FakeProcessControl &control, quint32 id) : m_control(control), m_id(id) {}
        bool terminate(quint32) override { return m_control.end(m_id); }

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
