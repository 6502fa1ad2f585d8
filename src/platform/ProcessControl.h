// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

// An open process, closed when the object goes.
class ProcessHandle
{
public:
    virtual ~ProcessHandle() = default;
    // Ends the process with the exit code; false when it could not be ended.
    virtual bool terminate(quint32 exitCode) = 0;
};

// What an open gave: the handle, or none.
struct OpenedProcess {
    std::unique_ptr<ProcessHandle> handle;
    // There is none only because the program holds all the handles it may:
    // the same open succeeds once some of them are closed.
    bool outOfHandles = false;
};

class ProcessControl
{
public:
    using Deadline = std::chrono::steady_clock::time_point;

    virtual ~ProcessControl() = default;
    // Opens the process with the right to end it, but only while it is still
    // the process a snapshot saw: `identity` is what the snapshot recorded for
    // the ID. No handle when it has gone or cannot be shown to be that process.
    virtual OpenedProcess open(quint32 processId, std::optional<quint64> identity) = 0;
    // How many handles a caller may hold at once and still leave the rest of
    // the program what it needs.
    virtual std::size_t handlesToHold() const = 0;
    // One wait for a whole batch: returns once the processes of all `handles`
    // have exited, or at `deadline`.
    virtual void waitUntilExited(const std::vector<ProcessHandle *> &handles,
                                 Deadline deadline) = 0;
};
