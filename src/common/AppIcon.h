// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

// The application icon, a blue "Q", at 16 x 16 and larger sizes, as the
// program carries it.
QIcon appIcon();
// The icon theme's "trelvanix", where the theme has one, and null otherwise.
// An installed program's theme holds the same picture at the sizes the
// desktop asks for. Looked up once: the lookup probes every folder of the
// theme, which is best left until the window is up.
QIcon themeAppIcon();
