// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <functional>

// Runs `act` from the event loop once the application's first window is on
// the screen and painted, for work that must not hold up its appearance; or
// a second after the first call when no window was exposed by then (one that
// starts minimised, or none at all). Never runs once `context` is gone.
void afterFirstShow(QObject *context, std::function<void()> act);
