// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>

#include <string_view>

// Where the main window's controls sit, in twips: the option buttons and the
// interval box within Frame2, the others within the client area. The kill
// list lies below the client area, out of sight.
namespace Form1Layout
{
constexpr QRect clientArea{0, 0, 8040, 6405};

struct Place {
    std::string_view control; // its object name
    QRect twips;
};

inline constexpr Place places[] = {
    {"PushButton2", {120, 120, 7800, 405}},  {"ListView1", {120, 630, 7800, 2415}},
    {"PushButton6", {120, 3135, 3840, 405}}, {"PushButton9", {4080, 3135, 3840, 405}},
    {"PushButton7", {120, 3645, 3840, 405}}, {"PushButton8", {4080, 3645, 3840, 405}},
    {"PushButton1", {120, 4155, 3840, 405}}, {"Check1", {4080, 4155, 3840, 405}},
    {"Frame2", {120, 4680, 7800, 1110}},     {"Option3", {240, 345, 4455, 255}},
    {"Option4", {240, 690, 5415, 255}},      {"Text1", {3360, 630, 735, 345}},
    {"PushButton5", {120, 5895, 7800, 405}}, {"ListView2", {120, 7185, 5280, 2325}},
};
} // namespace Form1Layout
