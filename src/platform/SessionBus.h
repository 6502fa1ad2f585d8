// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Keeps the toolkit to the desktop's session bus: the one the session
// announces, the one at its usual place, or the one started earlier for the
// display, which the display announces (only a plain socket of the user's own
// that answers at once; anything else is said on standard error and left
// alone). Where there is none, the bus library would start one of its own.
// Called before the toolkit starts.
void neverStartASessionBus();
