// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The shell's windows as Trelvanix lists and closes them. GNOME Shell offers
// other programs no window list of its own, so this object, exported on the
// shell's own connection, is reached as org.gnome.Shell. Its wrappers for each
// way of loading an extension hand it Gio, GLib and Meta.

const WINDOWS_INTERFACE = `<node>
  <interface name="org.trelvanix.Windows1">
    <method name="List">
      <arg type="t" direction="out" name="changes"/>
      <arg type="a(tis)" direction="out" name="windows"/>
    </method>
    <method name="Changes">
      <arg type="t" direction="out" name="changes"/>
    </method>
    <method name="Close">
      <arg type="t" direction="in" name="id"/>
      <arg type="b" direction="out" name="asked"/>
    </method>
    <signal name="Changed">
      <arg type="t" name="changes"/>
    </signal>
  </interface>
</node>`;
const WINDOWS_PATH = '/org/trelvanix/Windows';
// As titles read from X11 are cut: in characters, never inside one.
const TITLE_LIMIT = 1024;

class TrelvanixWindows {
    constructor({Gio, GLib, Meta}) {
        this._Gio = Gio;
        this._GLib = GLib;
        this._Meta = Meta;
        // Counted on from the time, so that a caller never takes a count of
        // an earlier enabling for this one's.
        this._changes = Date.now();
        this._watched = new Map(); // window -> its signal handlers
        this._displayHandlers = [];
        this._exported = null;
    }

    enable() {
        this._exported = this._Gio.DBusExportedObject.wrapJSObject(WINDOWS_INTERFACE, this);
        this._exported.export(this._Gio.DBus.session, WINDOWS_PATH);
        const display = global.display;
        this._displayHandlers = [
            display.connect('window-created', (_display, window) => this._watch(window)),
            display.connect('restacked', () => this._changed()),
        ];
        for (const window of this._shellWindows())
            this._watch(window);
    }

    disable() {
        for (const handler of this._displayHandlers)
            global.display.disconnect(handler);
        this._displayHandlers = [];
        for (const [window, handlers] of this._watched)
            this._forget(window, handlers);
        this._watched.clear();
        this._exported.unexport();
        this._exported = null;
    }

    // Top first: the shell sorts bottom first.
    List() {
        const windows = [];
        for (const window of this._shellWindows().reverse()) {
            try {
                if (this._listed(window))
                    windows.push([window.get_id(), Math.max(window.get_pid(), 0),
                        this._cut(window.get_title())]);
            } catch (gone) {
                // Went while it was read: not listed.
            }
        }
        return [this._changes, windows];
    }

    // Counts what changes the list; a caller lists again only when it moved.
    Changes() {
        return this._changes;
    }

    // The polite close, which the window may refuse.
    Close(id) {
        try {
            const window = this._shellWindows().find(each => each.get_id() === id);
            if (!window)
                return false;
            window.delete(global.display.get_current_time_roundtrip());
            return true;
        } catch (gone) {
            return false;
        }
    }

    _shellWindows() {
        const windows = [];
        for (const actor of global.get_window_actors()) {
            const window = actor.get_meta_window();
            if (window)
                windows.push(window);
        }
        return global.display.sort_windows_by_stacking(windows);
    }

    _listed(window) {
        const Type = this._Meta.WindowType;
        return [Type.NORMAL, Type.DIALOG, Type.MODAL_DIALOG].includes(window.get_window_type()) &&
            !window.is_skip_taskbar();
    }

    _cut(title) {
        return Array.from(title ?? '').slice(0, TITLE_LIMIT).join('');
    }

    _watch(window) {
        if (this._watched.has(window))
            return;
        this._watched.set(window, [
            window.connect('notify::title', () => this._changed()),
            window.connect('notify::skip-taskbar', () => this._changed()),
            window.connect('unmanaged', () => {
                this._forget(window, this._watched.get(window));
                this._watched.delete(window);
                this._changed();
            }),
        ]);
        this._changed();
    }

    _forget(window, handlers) {
        for (const handler of handlers ?? [])
            window.disconnect(handler);
    }

    _changed() {
        this._changes++;
        this._exported?.emit_signal('Changed', new this._GLib.Variant('(t)', [this._changes]));
    }
}
