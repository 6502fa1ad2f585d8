#pragma once

#include <QtGlobal>

#include <chrono>
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

class ProcessControl
{
public:
    using Deadline = std::chrono::steady_clock::time_point;

    virtual ~ProcessControl() = default;
    // Opens the process with the right to end it, but only while it is still
    // the process a snapshot saw: `identity` is what the snapshot recorded for
    // the ID. Null when it has gone or cannot be shown to be that process.
    virtual std::unique_ptr<ProcessHandle> open(quint32 processId,
                                                std::optional<quint64> identity) = 0;
    // One wait for a whole batch: returns once the processes of all `handles`
    // have exited, or at `deadline`.
    virtual void waitUntilExited(const std::vector<ProcessHandle *> &handles,
                                 Deadline deadline) = 0;
};
