// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include <memory>
#include <optional>

// One record of a process snapshot, shaped after the system's snapshot record:
// an ID and a 260-byte name field that holds the executable's file name
// followed by a NUL (a field without a NUL gives the empty name).
struct ProcessEntry {
    static constexpr int nameFieldSize = 260;

    quint32 processId = 0;
    char exeFile[nameFieldSize] = {};
    // What told the process from a later one given its ID when the snapshot
    // saw it (its start time), so that ending it later spares a reused ID.
    // None where it could not be read, and for a stand-in that names no process.
    std::optional<quint64> identity;
};

// A snapshot walked first/next. It is released when the object goes.
class ProcessSnapshot
{
public:
    virtual ~ProcessSnapshot() = default;
    // Fills `entry` with the first entry: the system's idle entry, with ID 0,
    // where the system has one, else its first process; false when the
    // snapshot is empty.
    virtual bool first(ProcessEntry &entry) = 0;
    // Fills `entry` with the next process; false past the last one.
    virtual bool next(ProcessEntry &entry) = 0;
};

class ProcessSnapshotSource
{
public:
    virtual ~ProcessSnapshotSource() = default;
    // Never null: a snapshot that cannot be taken walks as empty.
    virtual std::unique_ptr<ProcessSnapshot> takeSnapshot() = 0;
};
