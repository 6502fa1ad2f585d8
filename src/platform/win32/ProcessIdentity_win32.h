// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <windows.h>

#include <QtGlobal>

#include <optional>

// When the process was created, in the system's 100 ns units: with its ID,
// what tells it from a later process that reuses the ID.
std::optional<quint64> creationTime(HANDLE process);

// The same for a process known by its ID; none when it cannot be queried.
std::optional<quint64> creationTime(quint32 processId);
