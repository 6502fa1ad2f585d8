// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader is told of a list: a table whose cells are its rows'
// texts under its column headers. Only a row's first cell, the one with the
// check box, is checkable and offers the toggle action, which checks it or
// clears it; the other cells only read.
// Makes every list told of so; once is enough, more do no harm.
void tellScreenReadersOfListsAsTables();
