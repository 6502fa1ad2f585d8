// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/linux/Utf8Prefix.h"

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

// Reads the link at `path` under `dirFd` ("" for the one `dirFd` holds) into
// `target`, whose room is reused; false when it cannot be read.
bool readLinkInto(int dirFd, const char *path, std::string &target);

// Parses a stat line. The name may hold spaces and ')', so the fields are
// split after the last ')'. Nothing for a malformed line.
std::optional<ProcStat> parseProcStat(std::string_view line);

// Zombies have already ended and kernel threads are not programs.
bool isListedProcess(const ProcStat &stat);

// What the kernel appends to the `exe` link of a removed executable.
constexpr std::string_view deletedSuffix = " (deleted)";

// The file name of an `exe` link target, without its folder and without the
// " (deleted)" that the kernel appends for a removed file. `fileAtTarget` says
// that the file at the target, suffix and all, is the executable itself: its
// real name ends that way.
std::string exeBaseName(std::string_view linkTarget, bool fileAtTarget = false);

// The name when the executable cannot be read (another user's process): the
// kernel's 15-character `comm`, or argv[0]'s base name when `comm` is its prefix.
std::string nameFromCommAndArgv0(std::string_view comm, std::string_view argv0);

// Whether `comm` is cut to the kernel's 15 characters, so that two programs
// may share it.
bool fillsComm(std::string_view comm);

