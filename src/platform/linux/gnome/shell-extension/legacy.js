// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// GNOME Shell 43 and 44 load an extension through imports and init().
const {Gio, GLib, Meta} = imports.gi;

// eslint-disable-next-line no-unused-vars
function init() {
    return new TrelvanixWindows({Gio, GLib, Meta});
}
