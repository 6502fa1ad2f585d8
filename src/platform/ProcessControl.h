#pragma once

#include <QtGlobal>

#include <memory>

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
    virtual ~ProcessControl() = default;
    // Opens the process with the right to end it; null when it cannot be
    // opened (gone, another user's, or no longer the process once listed).
    virtual std::unique_ptr<ProcessHandle> open(quint32 processId) = 0;
};
