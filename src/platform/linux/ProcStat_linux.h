#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the process pass needs of /proc/PID/stat.
struct ProcStat {
    std::string comm;
    char state = '?';
    std::uint64_t flags = 0;
    std::uint64_t startTime = 0; // clock ticks after boot
};

// Reads a small /proc file under `procFd` whole; empty when the process has gone.
std::string readProcFile(int procFd, const std::string &relative);

// Parses a stat line. The name may hold spaces and ')', so the fields are
// split after the last ')'. Nothing for a malformed line.
std::optional<ProcStat> parseProcStat(std::string_view line);

// Zombies have already ended and kernel threads are not programs.
bool isListedProcess(const ProcStat &stat);

// The file name of an `exe` link target, without its folder and without the
// " (deleted)" that the kernel appends for a removed file.
std::string exeBaseName(std::string_view linkTarget);

// The name when the executable cannot be read (another user's process): the
// kernel's 15-character `comm`, or argv[0]'s base name when `comm` is its prefix.
std::string nameFromCommAndArgv0(std::string_view comm, std::string_view argv0);
