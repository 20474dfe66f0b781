// Awning's tint inside GNOME Shell, where no client window can be drawn over the top bar. Awning renders
// the tint and decides when and how it shows; this extension only shows what Awning sends over the bar,
// tells Awning where the bar is and whether the pointer is on it, and takes everything away again when it
// is disabled or Awning goes. The bus interface is described in Awning's docs/gnome-shell.md.
'use strict';

const {Clutter, Cogl, Gio, GLib, St} = imports.gi;
const Main = imports.ui.main;

const INTERFACE_VERSION = 1;
const BUS_NAME = 'com.larkspur.Awning.Shell';
const OBJECT_PATH = '/com/larkspur/Awning/Shell';
const INTERFACE_XML = `
<node>
  <interface name="com.larkspur.Awning.Shell">
    <property name="Version" type="u" access="read"/>
    <method name="Connect">
      <arg name="version" type="u" direction="in"/>
      <arg name="version" type="u" direction="out"/>
    </method>
    <method name="SetTint">
      <arg name="pixels" type="ay" direction="in"/>
      <arg name="width" type="u" direction="in"/>
      <arg name="height" type="u" direction="in"/>
      <arg name="stride" type="u" direction="in"/>
    </method>
    <method name="SetOpacity">
      <arg name="opacity" type="d" direction="in"/>
      <arg name="duration" type="u" direction="in"/>
    </method>
    <method name="HideTint"/>
    <method name="GetState">
      <arg name="state" type="(iiiibbiiii)" direction="out"/>
    </method>
    <signal name="StateChanged">
      <arg name="state" type="(iiiibbiiii)"/>
    </signal>
  </interface>
</node>`;

function log_(message) {
    log(`[Awning] ${message}`);
}

// The tint: a picture of Awning's rendering, stretched over the bar, never reactive so every click and
// hover reaches the bar beneath.
class Tint {
    constructor() {
        this._image = Clutter.Image.new();
        this._actor = new St.Widget({
            name: 'awning-tint',
            reactive: false,
            opacity: 0,
            content: this._image,
            content_gravity: Clutter.ContentGravity.RESIZE_FILL,
        });
        this._actor.add_constraint(new Clutter.BindConstraint({
            source: Main.panel,
            coordinate: Clutter.BindCoordinate.ALL,
        }));
        Main.layoutManager.uiGroup.add_child(this._actor);
        Main.layoutManager.uiGroup.set_child_above_sibling(this._actor, Main.layoutManager.panelBox);
    }

    setPixels(pixels, width, height, stride) {
        if (width === 0 || height === 0 || stride < width * 4 || pixels.length < stride * height)
            throw new Error(`a ${width}x${height} picture needs ${stride * height} bytes of ${stride} per row`);
        this._image.set_bytes(new GLib.Bytes(pixels), Cogl.PixelFormat.BGRA_8888_PRE, width, height, stride);
    }

    setOpacity(opacity, duration) {
        const target = Math.round(255 * Math.min(Math.max(opacity, 0), 1));
        this._actor.remove_all_transitions();
        if (duration > 0)
            this._actor.ease({opacity: target, duration, mode: Clutter.AnimationMode.LINEAR});
        else
            this._actor.opacity = target;
    }

    destroy() {
        this._actor.destroy();
    }
}

// What Awning asks for, from one caller at a time: the one that connected last with our version.
class AwningPeer {
    constructor(onStateChanged) {
        this._dbus = Gio.DBusExportedObject.wrapJSObject(INTERFACE_XML, this);
        this._dbus.export(Gio.DBus.session, OBJECT_PATH);
        this._nameId = Gio.bus_own_name_on_connection(Gio.DBus.session, BUS_NAME,
            Gio.BusNameOwnerFlags.NONE, null, null);
        this._peer = null;
        this._watchId = 0;
        this._tint = null;
        this._signals = [];
        this._watchShell(onStateChanged);
    }

    get Version() {
        return INTERFACE_VERSION;
    }

    ConnectAsync([version], invocation) {
        if (version !== INTERFACE_VERSION) {
            const message = `Awning speaks version ${version} of the shell interface and this extension ` +
                `version ${INTERFACE_VERSION}: install the extension that came with Awning.`;
            log_(message);
            invocation.return_dbus_error('com.larkspur.Awning.Shell.Error.VersionMismatch', message);
            return;
        }
        this._follow(invocation.get_sender());
        invocation.return_value(new GLib.Variant('(u)', [INTERFACE_VERSION]));
    }

    SetTintAsync([pixels, width, height, stride], invocation) {
        this._answer(invocation, () => {
            this._tint ??= new Tint();
            this._tint.setPixels(pixels, width, height, stride);
        });
    }

    SetOpacityAsync([opacity, duration], invocation) {
        this._answer(invocation, () => this._tint?.setOpacity(opacity, duration));
    }

    HideTintAsync(_parameters, invocation) {
        this._answer(invocation, () => this._removeTint());
    }

    GetState() {
        return state();
    }

    destroy() {
        this._signals.forEach(([object, id]) => object.disconnect(id));
        this._signals = [];
        this._forget();
        this._dbus.unexport();
        Gio.bus_unown_name(this._nameId);
    }

    _answer(invocation, work) {
        if (invocation.get_sender() !== this._peer) {
            invocation.return_dbus_error('com.larkspur.Awning.Shell.Error.NotConnected',
                'call Connect with the interface version first');
            return;
        }
        try {
            work();
            invocation.return_value(null);
        } catch (error) {
            invocation.return_dbus_error('com.larkspur.Awning.Shell.Error.Failed', error.message);
        }
    }

    _follow(sender) {
        if (sender === this._peer)
            return;
        this._forget();
        this._peer = sender;
        this._watchId = Gio.bus_watch_name_on_connection(Gio.DBus.session, sender,
            Gio.BusNameWatcherFlags.NONE, null, () => this._forget());
    }

    // Awning went away (or another took over): nothing of its stays on the bar.
    _forget() {
        if (this._watchId)
            Gio.bus_unwatch_name(this._watchId);
        this._watchId = 0;
        this._peer = null;
        this._removeTint();
    }

    _removeTint() {
        this._tint?.destroy();
        this._tint = null;
    }

    _watchShell(onStateChanged) {
        const changed = () => {
            const value = state();
            this._dbus.emit_signal('StateChanged', value);
            onStateChanged?.(value);
        };
        const panelBox = Main.layoutManager.panelBox;
        const connect = (object, signal) => this._signals.push([object, object.connect(signal, changed)]);
        connect(panelBox, 'notify::allocation');
        connect(panelBox, 'notify::visible');
        connect(Main.panel, 'notify::hover');
        connect(Main.layoutManager, 'monitors-changed');
        connect(global.display, 'in-fullscreen-changed');
    }
}

// The bar's bounds, whether it shows (a full-screen window on its monitor hides it), whether the pointer
// is on it, and the primary monitor, in the shell's logical pixels.
function state() {
    const panelBox = Main.layoutManager.panelBox;
    const [x, y] = Main.panel.get_transformed_position();
    const monitor = Main.layoutManager.primaryMonitor;
    const shows = panelBox.visible && !(monitor?.inFullscreen ?? false);
    return new GLib.Variant('((iiiibbiiii))', [[
        Math.round(x), Math.round(y), Math.round(Main.panel.width), Math.round(Main.panel.height),
        shows, Main.panel.hover,
        monitor?.x ?? 0, monitor?.y ?? 0, monitor?.width ?? 0, monitor?.height ?? 0,
    ]]);
}

class Extension {
    enable() {
        this._trackedHover = Main.panel.track_hover;
        Main.panel.track_hover = true;
        this._peer = new AwningPeer();
    }

    disable() {
        this._peer.destroy();
        this._peer = null;
        Main.panel.track_hover = this._trackedHover;
    }
}

function init() {
    return new Extension();
}
