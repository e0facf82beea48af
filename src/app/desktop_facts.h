#pragma once

#include "app/scale_choice.h"

namespace qv {

// What the running desktop says about its scale and room. Needs the video subsystem; the strings
// it points at stay valid while the process's environment does not change.
DesktopFacts readDesktopFacts();

// Whether the video subsystem runs on SDL's Wayland driver, where the compositor, not the window,
// owns the output's scale.
bool onWaylandDriver();

}  // namespace qv
