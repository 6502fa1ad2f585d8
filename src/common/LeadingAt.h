// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The leading "@@" of a stored text read as "@", and a text's leading "@@"
// doubled again for storing, so that it reads back: the rule of every store.
QString withLeadingAtUndoubled(QString stored);
QString withLeadingAtDoubled(QString text);
