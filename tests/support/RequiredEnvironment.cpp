// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A test started by hand rather than through tests/support/run-test.sh says in one line what it
// lacks, before Qt fails without a display or the test works in the user's own settings.
#include <cstdio>
#include <cstdlib>
#include <errno.h>
#include <string>

namespace
{
struct Need {
    const char *name;
    const char *what;
};

const Need needs[] = {
#ifdef TRELVANIX_TEST_ON_DISPLAY
    {"DISPLAY", "a private X display"},
    {"TRELVANIX_BUILD_DIR", "the build folder"},
#endif
    {"XDG_CONFIG_HOME", "a scratch settings folder"},
};

bool isSet(const Need &need)
{
    const char *value = std::getenv(need.name);
    if (!value || !*value)
        return false;
    const char *home = std::getenv("HOME");
    return std::string(need.name) != "XDG_CONFIG_HOME" || !home ||
           std::string(value) != std::string(home) + "/.config";
}

const bool environmentChecked = [] {
    for (const Need &need : needs) {
        if (isSet(need))
            continue;
        std::fprintf(stderr,
                     "%s needs %s (%s), as tests/support/run-test.sh sets it: run it through "
                     "ctest (ctest -R %s in the build folder)\n",
                     program_invocation_short_name, need.name, need.what,
                     program_invocation_short_name);
        std::exit(2);
    }
    return true;
}();
} // namespace
