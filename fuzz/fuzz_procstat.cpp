// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A /proc/PID/stat line and the names around it: the bytes are read as a stat
// line, as an `exe` link target and as argv[0].
#include "platform/linux/proc/ProcStat.h"

#include <cstdint>
#include <cstdlib>

namespace
{
void require(bool holds)
{
    if (!holds)
        std::abort();
}

void checkStat(std::string_view line)
{
    const auto stat = parseProcStat(line);
    if (!stat)
        return;
    // The name lies between the first '(' and the last ')'.
    const auto open = line.find('(');
    require(line.substr(open + 1, stat->comm.size()) == stat->comm);
    require(line[open + 1 + stat->comm.size()] == ')');
    require(line.rfind(')') == open + 1 + stat->comm.size());
    isListedProcess(*stat);
}

void checkNames(std::string_view text, bool fileAtTarget)
{
    const std::string base = exeBaseName(text, fileAtTarget);
    require(base.find('/') == std::string::npos);
    require(text.find(base) != std::string_view::npos);

    const std::string_view comm = text.substr(0, std::min<std::size_t>(text.size(), 15));
    const std::string name = nameFromCommAndArgv0(comm, text);
    require(name == comm || (name.starts_with(comm) && text.ends_with(name)));

    for (std::size_t limit : {std::size_t(0), std::size_t(1), std::size_t(7), text.size() / 2}) {
        const std::string_view kept = utf8Prefix(text, limit);
        require(kept.size() <= limit && text.starts_with(kept));
        require(kept.size() + 3 >= std::min(limit, text.size()));
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    checkStat(text);
    checkNames(text, size % 2 == 1);
    return 0;
}
