// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's tests: the list control, the window itself, its settings (their sources
// are in tests/settings/), refresh and monitoring, the task pass, the selection and kill
// commands. A class name as the first argument runs that
// class alone, as each class's CTest entry does (tests/CMakeLists.txt names them all there too);
// without one, every class runs. All of them use a settings store of the run's own.
#include "support/TestSettingsStore.h"

#include <QApplication>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

int runListViewTests(int argc, char *argv[]);
int runForm1Tests(int argc, char *argv[]);
int runSettingsTests(int argc, char *argv[]);
int runRefreshTests(int argc, char *argv[]);
int runLoadWindowsTests(int argc, char *argv[]);
int runCommandsTests(int argc, char *argv[]);
#ifdef TRELVANIX_LINUX_TESTS
int runForm1LinuxTests(int argc, char *argv[]);
int runSettingsFileTests(int argc, char *argv[]);
#endif

namespace
{
struct TestClass {
    const char *name;
    int (*run)(int, char *[]);
};

const TestClass testClasses[] = {
    {"ListViewTest", runListViewTests},
    {"Form1Test", runForm1Tests},
    {"SettingsTest", runSettingsTests},
    {"RefreshTest", runRefreshTests},
    {"LoadWindowsTest", runLoadWindowsTests},
    {"CommandsTest", runCommandsTests},
#ifdef TRELVANIX_LINUX_TESTS
    // FIFOs, file owners, capabilities and the store file's bytes: Linux alone.
    {"Form1LinuxTest", runForm1LinuxTests},
    {"SettingsFileTest", runSettingsFileTests},
#endif
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const TestSettingsStore store;
    std::vector<char *> arguments(argv, argv + argc + 1); // with argv's closing null
    const char *picked = nullptr;
    if (argc > 1 &&
        std::any_of(std::begin(testClasses), std::end(testClasses),
                    [&](const TestClass &c) { return std::strcmp(c.name, arguments[1]) == 0; })) {
        picked = arguments[1];
        arguments.erase(arguments.begin() + 1);
    }
    int failures = 0;
    for (const TestClass &testClass : testClasses)
        if (!picked || std::strcmp(testClass.name, picked) == 0)
            failures += testClass.run(static_cast<int>(arguments.size()) - 1, arguments.data());
    return failures;
}
