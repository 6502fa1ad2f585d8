// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The refresh (process pass, two yields, task pass, one paint) against a bare
// scan of /proc/*/stat, a bare listing of the window titles and a plain model
// fill, in the same run, with 200 windows open and extra sleeping processes
// that it starts and ends; last, the refresh with a window whose title is
// 10 MB against the same without it. Needs a display with a window manager.
//   refresh_bench [EXTRA...]        (default: 0 1000 5000)
#include "BenchSupport.h"
#include "app/Form1.h"
#include "app/ListView.h"
#include "platform/PlatformServices.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace
{
// The baseline: every /proc/PID/stat read once, then a plain Qt model filled.
int bareScanAndFill(QStandardItemModel &model)
{
    std::vector<std::pair<std::string, std::string>> rows;
    DIR *proc = ::opendir("/proc");
    char buffer[4096];
    while (const dirent *entry = ::readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        const std::string path = std::string("/proc/") + entry->d_name + "/stat";
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const ssize_t length = ::read(fd, buffer, sizeof buffer);
        ::close(fd);
        if (length <= 0)
            continue;
        const std::string line(buffer, static_cast<std::size_t>(length));
        const auto open = line.find('('), close = line.rfind(')');
        rows.emplace_back(line.substr(open + 1, close - open - 1), entry->d_name);
    }
    ::closedir(proc);

    model.clear();
    model.setColumnCount(3);
    for (const auto &[name, id] : rows)
        model.appendRow({new QStandardItem(QString::fromStdString(name)),
                         new QStandardItem(QString::fromStdString(id)),
                         new QStandardItem(QStringLiteral("Process"))});
    return static_cast<int>(rows.size());
}

// The baseline's window half: the stacking list, then every title asked for
// at once, appended to the model.
int bareWindowListing(xcb_connection_t *c, xcb_window_t root, xcb_atom_t stacking, xcb_atom_t name,
                      QStandardItemModel &model)
{
    auto *list = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, stacking, XCB_ATOM_WINDOW, 0, 100000), nullptr);
    if (!list)
        return 0;
    const auto *windows = static_cast<const xcb_window_t *>(xcb_get_property_value(list));
    const int count = xcb_get_property_value_length(list) / 4;
    std::vector<xcb_get_property_cookie_t> cookies;
    for (int i = 0; i < count; ++i)
        cookies.push_back(
            xcb_get_property(c, 0, windows[i], name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256));
    for (int i = 0; i < count; ++i) {
        auto *title = xcb_get_property_reply(c, cookies[static_cast<size_t>(i)], nullptr);
        if (title && xcb_get_property_value_length(title) > 0)
            model.appendRow({new QStandardItem(QString::fromUtf8(
                                 static_cast<const char *>(xcb_get_property_value(title)),
                                 xcb_get_property_value_length(title))),
                             new QStandardItem(QString::number(windows[i])),
                             new QStandardItem(QStringLiteral("Task"))});
        std::free(title);
    }
    std::free(list);
    return count;
}

bool isListed(xcb_connection_t *c, xcb_window_t root, xcb_atom_t stacking, xcb_window_t window)
{
    auto *list = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, stacking, XCB_ATOM_WINDOW, 0, 100000), nullptr);
    if (!list)
        return false;
    const auto *windows = static_cast<const xcb_window_t *>(xcb_get_property_value(list));
    const bool found = std::find(windows, windows + xcb_get_property_value_length(list) / 4,
                                 window) != windows + xcb_get_property_value_length(list) / 4;
    std::free(list);
    return found;
}

// A window whose title is `megabytes` MB, as _NET_WM_NAME and as WM_NAME,
// taken on by the window manager; it goes when the object does.
class HugeTitleWindow
{
public:
    HugeTitleWindow(xcb_connection_t *c, xcb_window_t root, xcb_atom_t stacking, int megabytes)
        : m_c(c), m_window(xcb_generate_id(c))
    {
        xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, root, 30, 30, 200, 80, 1,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string title(static_cast<std::size_t>(megabytes) << 20, 'T');
        const auto length = static_cast<uint32_t>(title.size());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, atomNamed(c, "_NET_WM_NAME"),
                            atomNamed(c, "UTF8_STRING"), 8, length, title.data());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                            8, length, title.data());
        xcb_map_window(c, m_window);
        xcb_flush(c);
        for (int tries = 0; tries < 600 && !isListed(c, root, stacking, m_window); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~HugeTitleWindow()
    {
        xcb_destroy_window(m_c, m_window);
        std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr));
    }
    HugeTitleWindow(const HugeTitleWindow &) = delete;
    HugeTitleWindow &operator=(const HugeTitleWindow &) = delete;

private:
    xcb_connection_t *m_c;
    xcb_window_t m_window;
};

// What "Refresh List Above" does, and the paint that shows it.
void refresh(Form1 &form)
{
    form.PushButton1_Click();
    form.ListView1->repaint();
}
} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        std::fprintf(stderr, "refresh_bench needs a display with a window manager\n");
        return 1;
    }
    QApplication app(argc, argv);
    std::vector<int> extras;
    for (int i = 1; i < argc; ++i)
        extras.push_back(std::atoi(argv[i]));
    if (extras.empty())
        extras = {0, 1000, 5000};

    PlatformServices platform = createPlatformServices();
    const QTemporaryDir programFolder;
    Form1 form(platform, programFolder.path());
    form.Form_Load();
    form.show();
    ListView &list = *form.ListView1;
    QStandardItemModel model;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t stacking = atomNamed(c, "_NET_CLIENT_LIST_STACKING");
    const xcb_atom_t name = atomNamed(c, "_NET_WM_NAME");
    const BenchWindows windows(200);

    std::printf("%8s %10s %8s %14s %14s %7s\n", "extra", "processes", "windows", "baseline ms",
                "refresh ms", "ratio");
    for (const int extra : extras) {
        const Sleepers sleepers(extra);
        int processes = 0;
        int listed = 0;
        const double baseline = medianMs([&] {
            processes = bareScanAndFill(model);
            listed = bareWindowListing(c, root, stacking, name, model);
        });
        const double ours = medianMs([&] { refresh(form); });
        std::printf("%8zu %10d %8d %14.2f %14.2f %6.2fx\n", sleepers.count(), processes, listed,
                    baseline, ours, ours / baseline);
        const double processPass = medianMs([&] { form.loadProcesses(); });
        const double taskPass = medianMs([&] { form.loadWindows(); });
        const double paint = medianMs([&] {
                                 list.listModel()->removeAllRows();
                                 form.loadProcesses();
                                 QCoreApplication::processEvents();
                                 list.repaint();
                             }) -
                             processPass;
        std::printf("%8s process pass %.2f ms, task pass %.2f ms, rebuild and paint %.2f ms\n", "",
                    processPass, taskPass, paint);
        std::fflush(stdout);
    }

    // A client may set a title of any size; the refresh reads only its start.
    const double plain = medianMs([&] { refresh(form); });
    const double huge = [&] {
        const HugeTitleWindow window(c, root, stacking, 10);
        return medianMs([&] { refresh(form); });
    }();
    std::printf("\nwith a 10 MB title open: without %.2f ms, with %.2f ms, ratio %.2fx\n", plain,
                huge, huge / plain);
    xcb_disconnect(c);
    return 0;
}
