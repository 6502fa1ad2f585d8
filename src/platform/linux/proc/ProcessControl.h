// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ProcessControl.h"
#include "platform/linux/FileDescriptor.h"

// How many pidfds a kill pass holds at once: a quarter of the descriptor
// limit, so that they never starve the files, sockets and pipes that the rest
// of the program opens.
std::size_t pidfdsHeldAtOnce();

// Termination through pidfds: a process is opened, then shown to be the one
// the snapshot saw (same start time, not yet ended), and only then signalled,
// so that a reused ID never reaches another process.
class PidfdProcessControl : public ProcessControl
{
public:
    explicit PidfdProcessControl(const char *procRoot = "/proc");

    OpenedProcess open(quint32 processId, std::optional<quint64> identity) override;
    std::size_t handlesToHold() const override;
    void waitUntilExited(const std::vector<ProcessHandle *> &handles, Deadline deadline) override;

private:
    FileDescriptor m_procFd;
};
