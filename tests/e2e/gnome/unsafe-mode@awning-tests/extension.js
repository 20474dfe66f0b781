// Lets a test take screenshots and call org.gnome.Shell.Eval, which GNOME Shell 43 allows only in unsafe
// mode and offers no flag for.
'use strict';

function init() {
    return {
        enable() {
            global.context.unsafe_mode = true;
        },
        disable() {
            global.context.unsafe_mode = false;
        },
    };
}
