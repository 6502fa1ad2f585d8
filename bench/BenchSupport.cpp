// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

Sleepers::Sleepers(int count)
{
    char program[] = "/bin/sleep";
    char seconds[] = "3600";
    char *argv[] = {program, seconds, nullptr};
    for (int i = 0; i < count; ++i) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) == 0)
            m_pids.push_back(pid);
    }
}

Sleepers::~Sleepers()
{
    for (const pid_t pid : m_pids)
        ::kill(pid, SIGKILL);
    for (const pid_t pid : m_pids)
        ::waitpid(pid, nullptr, 0);
}

namespace
{
std::size_t managedWindows(xcb_connection_t *c, xcb_window_t root, xcb_atom_t list)
{
    auto *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, list, XCB_ATOM_WINDOW, 0, 100000), nullptr);
    const std::size_t count = reply ? xcb_get_property_value_length(reply) / 4 : 0;
    std::free(reply);
    return count;
}
} // namespace

BenchWindows::BenchWindows(int count) : m_c(xcb_connect(nullptr, nullptr))
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    const xcb_atom_t name = atomNamed(m_c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atomNamed(m_c, "UTF8_STRING");
    const xcb_atom_t clientList = atomNamed(m_c, "_NET_CLIENT_LIST");
    const std::size_t before = managedWindows(m_c, root, clientList);
    for (int i = 0; i < count; ++i) {
        const xcb_window_t window = xcb_generate_id(m_c);
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, window, root, 10 + i % 50, 10 + i % 40, 120,
                          60, 1, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string title = "Benchmark window " + std::to_string(i);
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, window, name, utf8, 8,
                            static_cast<uint32_t>(title.size()), title.data());
        xcb_map_window(m_c, window);
        m_windows.push_back(window);
    }
    xcb_flush(m_c);
    for (int tries = 0; tries < 300; ++tries) {
        if (managedWindows(m_c, root, clientList) >= before + m_windows.size())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

BenchWindows::~BenchWindows()
{
    xcb_disconnect(m_c);
}

double medianMs(const std::function<void()> &work, int repetitions)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double ownCpuSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int number = 3; fields >> field; ++number) {
        if (number == 14)
            utime = std::stoull(field);
        if (number == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return double(utime + stime) / double(::sysconf(_SC_CLK_TCK));
}
