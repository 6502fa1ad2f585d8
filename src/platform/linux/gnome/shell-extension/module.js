// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// GNOME Shell 45 and later load an extension as a module; imports are
// hoisted, so they may follow the shared part.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import Meta from 'gi://Meta';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

export default class TrelvanixWindowsExtension extends Extension {
    enable() {
        this._windows = new TrelvanixWindows({Gio, GLib, Meta});
        this._windows.enable();
    }

    disable() {
        this._windows.disable();
        this._windows = null;
    }
}
