// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

// The application icon, a blue "Q", at 16 x 16 and larger sizes: the icon
// theme's "trelvanix" where the theme has one.
QIcon appIcon();
