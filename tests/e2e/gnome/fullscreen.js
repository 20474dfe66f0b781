// A full-screen window of the test's own, a Wayland client of the shell it runs on.
imports.gi.versions.Gtk = '3.0';
const {Gtk} = imports.gi;
Gtk.init(null);
const window = new Gtk.Window({title: 'full screen'});
window.connect('destroy', () => Gtk.main_quit());
window.show_all();
window.fullscreen();
Gtk.main();
