// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// Why a bus address that another program announced must not be joined; empty
// when it may be. Any X client can announce one, so only a single plain
// socket qualifies: `unix:path=` (a socket of the user's own) or
// `unix:abstract=`, served by a process of the user's own that answers the
// bus's greeting within a second. Nothing is run or started to find out.
QString whyNotJoin(const QByteArray &address);
