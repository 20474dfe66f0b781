#pragma once

#include <wayland-client.h>

// WORKAROUND: the layer-shell protocol names an argument `namespace`, which wayland-scanner copies into its C
// header, where C++ cannot read it. Renamed while that header alone is read.
#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
