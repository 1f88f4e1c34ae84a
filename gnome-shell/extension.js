// Shows the faces `ostrel-widgets watch` draws on the desktop's background layer: below every
// window, on every workspace, out of the overview and the window switcher, never focused. The
// engine writes each face as a PNG at the monitor's scale and prints one JSON line per change; the
// extension draws nothing itself.
/* exported init */
const {Atk, Clutter, Cogl, GdkPixbuf, Gio, GLib, St} = imports.gi;
const ExtensionUtils = imports.misc.extensionUtils;
const Main = imports.ui.main;
const PopupMenu = imports.ui.popupMenu;

const RESTART_SECONDS = 2;

class Faces {
    enable() {
        this._settings = ExtensionUtils.getSettings();
        this._interface = new Gio.Settings({schema_id: 'org.gnome.desktop.interface'});
        this._dir = GLib.build_filenamev([GLib.get_user_runtime_dir(), 'ostrel-widgets']);
        this._layer = new Clutter.Actor();
        Main.layoutManager._backgroundGroup.add_child(this._layer);
        this._menus = new PopupMenu.PopupMenuManager(this._layer);
        this._faces = new Map();  // "Kind-family" → St.Widget
        this._handlers = [
            [this._settings, this._settings.connect('changed', (s, key) =>
                ['widgets', 'engine-options'].includes(key) ? this._restart() : this._place())],
            [this._interface, this._interface.connect('changed::color-scheme', () => this._restart())],
            [Main.layoutManager, Main.layoutManager.connect('monitors-changed', () => this._restart())],
            [global.display, global.display.connect('workareas-changed', () => this._place())],
        ];
        this._start();
    }

    disable() {
        for (const [object, id] of this._handlers)
            object.disconnect(id);
        this._stop();
        this._layer.destroy();
        this._faces.clear();
        this._settings = this._interface = this._layer = this._menus = null;
    }

    _keys() {
        return this._settings.get_strv('widgets').map(w => w.replace(':', '-'));
    }

    _start() {
        const widgets = this._settings.get_strv('widgets');
        const monitor = Main.layoutManager.primaryIndex;
        if (widgets.length === 0 || monitor < 0)
            return;
        this._scale = global.display.get_monitor_scale(monitor);
        const scheme = this._interface.get_string('color-scheme') === 'prefer-dark' ? 'dark' : 'light';
        const argv = ['ostrel-widgets', 'watch', '--png-dir', this._dir, '--scale', `${this._scale}`,
            '--scheme', scheme, '--format', 'json', ...widgets.flatMap(w => ['--widget', w]),
            ...this._settings.get_strv('engine-options')];
        let proc;
        try {
            proc = Gio.Subprocess.new(argv, Gio.SubprocessFlags.STDOUT_PIPE);
        } catch (e) {
            logError(e, 'ostrel-widgets: cannot start the engine');
            return;
        }
        this._proc = proc;
        this._cancel = new Gio.Cancellable();
        this._read(new Gio.DataInputStream({base_stream: proc.get_stdout_pipe()}), this._cancel);
        proc.wait_async(null, () => {
            if (this._proc !== proc)
                return;
            this._proc = null;
            this._retry = GLib.timeout_add_seconds(GLib.PRIORITY_DEFAULT, RESTART_SECONDS, () => {
                this._retry = 0;
                this._start();
                return GLib.SOURCE_REMOVE;
            });
        });
    }

    _stop() {
        if (this._retry)
            GLib.source_remove(this._retry);
        this._retry = 0;
        this._cancel?.cancel();
        this._proc?.send_signal(15);
        this._proc = null;
    }

    _restart() {
        this._stop();
        const keys = this._keys();
        for (const [key, face] of this._faces) {
            if (!keys.includes(key)) {
                face.destroy();
                this._faces.delete(key);
            }
        }
        this._start();
    }

    _read(stream, cancel) {
        stream.read_line_async(GLib.PRIORITY_DEFAULT, cancel, (s, result) => {
            let line;
            try {
                [line] = s.read_line_finish_utf8(result);
            } catch (e) {
                return;
            }
            if (line === null || cancel.is_cancelled())
                return;
            this._show(line);
            this._read(stream, cancel);
        });
    }

    // A face changed: its PNG has been replaced before the line was printed.
    _show(line) {
        let face, pixbuf;
        try {
            face = JSON.parse(line);
            pixbuf = GdkPixbuf.Pixbuf.new_from_file(
                GLib.build_filenamev([this._dir, `${face.kind}-${face.family}.png`]));
        } catch (e) {
            return;
        }
        const key = `${face.kind}-${face.family}`;
        const image = new Clutter.Image();
        image.set_data(pixbuf.get_pixels(),
            pixbuf.get_has_alpha() ? Cogl.PixelFormat.RGBA_8888 : Cogl.PixelFormat.RGB_888,
            pixbuf.width, pixbuf.height, pixbuf.rowstride);
        let actor = this._faces.get(key);
        if (!actor) {
            actor = this._newFace(key);
            this._faces.set(key, actor);
        }
        // The engine draws at the monitor's scale; the stage counts `ui` pixels per point.
        const ui = St.ThemeContext.get_for_stage(global.stage).scale_factor;
        actor.set_size(pixbuf.width * ui / this._scale, pixbuf.height * ui / this._scale);
        actor.set_content(image);
        actor.accessible_name = face.label;
        this._place();
    }

    _newFace(key) {
        const actor = new St.Widget({reactive: true, can_focus: false, accessible_role: Atk.Role.IMAGE});
        const menu = new PopupMenu.PopupMenu(actor, 0.5, St.Side.TOP);
        menu.addAction('Remove this widget', () =>
            this._settings.set_strv('widgets',
                this._settings.get_strv('widgets').filter(w => w.replace(':', '-') !== key)));
        menu.addAction('Quit', () =>
            Main.extensionManager.disableExtension(ExtensionUtils.getCurrentExtension().uuid));
        Main.uiGroup.add_child(menu.actor);
        menu.actor.hide();
        this._menus.addMenu(menu);
        actor.connect('button-press-event', (a, event) => {
            if (event.get_button() !== Clutter.BUTTON_SECONDARY)
                return Clutter.EVENT_PROPAGATE;
            menu.open();
            return Clutter.EVENT_STOP;
        });
        actor.connect('destroy', () => menu.destroy());
        this._layer.add_child(actor);
        return actor;
    }

    // Stacked from the corner of the primary monitor's work area: down from a top corner, up from
    // a bottom one.
    _place() {
        const monitor = Main.layoutManager.primaryIndex;
        if (monitor < 0)
            return;
        const area = Main.layoutManager.getWorkAreaForMonitor(monitor);
        const ui = St.ThemeContext.get_for_stage(global.stage).scale_factor;
        const corner = this._settings.get_string('corner');
        const margin = this._settings.get_uint('margin') * ui, gap = this._settings.get_uint('gap') * ui;
        let offset = margin;
        for (const key of this._keys()) {
            const face = this._faces.get(key);
            if (!face)
                continue;
            const [w, h] = face.get_size();
            face.set_position(
                corner.endsWith('right') ? area.x + area.width - margin - w : area.x + margin,
                corner.startsWith('bottom') ? area.y + area.height - offset - h : area.y + offset);
            offset += h + gap;
        }
    }
}

function init() {
    return new Faces();
}
