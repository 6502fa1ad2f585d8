// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SessionBus.h"

// Windows programs use no session bus.
void neverStartASessionBus() {}
