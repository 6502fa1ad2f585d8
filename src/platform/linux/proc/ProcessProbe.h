// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/linux/FileDescriptor.h"

#include <cstddef>
#include <optional>
#include <string>

// What tells at a later scan whether a process is still the one seen, and
// whether its name may have changed, without reading it all again: the
// target of its `exe` link, or where that cannot be read (another user's
// process, a kernel thread, a zombie) its start time, command name and state.
//
// A probe that keeps a descriptor on the process's file is exact: the
// descriptor fails once its process is gone, even if the ID was given again.
// One that reads by path cannot tell a reused ID from an exec; by path, the
// exe link is trusted only for a scan soon after the last one.
class ProcessProbe
{
public:
    enum class Kind { Exe, Stat };

    ProcessProbe() = default;
    ProcessProbe(Kind kind, FileDescriptor kept) : m_kind(kind), m_kept(std::move(kept)) {}

    // A probe that keeps a descriptor, above the range that select() can
    // watch; nothing when none may be had.
    static std::optional<ProcessProbe> keep(Kind kind, int procFd, const std::string &pidText);

    Kind kind() const { return m_kind; }
    bool keepsDescriptor() const { return m_kept.isValid(); }
    // Reads into `value` what the probe reads now; false when the process has gone.
    bool read(int procFd, const std::string &pidText, std::string &value) const;

private:
    Kind m_kind = Kind::Stat;
    FileDescriptor m_kept;
};

struct ProcStat;
// What a Stat probe compares: the start time, command name and state, and
// for a listed process whether its exe link can be read and, where the
// command name was cut, its command line.
std::string statProbeValue(int procFd, const std::string &pidText, const ProcStat &stat);

// How many descriptors the process scan may keep open: those above the
// select() range, less a reserve for the kill pass's pidfds and for the
// files, sockets and pipes of the rest of the program.
std::size_t scanDescriptorBudget();

// The lowest descriptor a kept probe may take.
constexpr int lowestKeptDescriptor = 1024;
