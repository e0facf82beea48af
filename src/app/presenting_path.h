#pragma once

namespace qv {

// How frames reach the window. A window surface is a plain shared-memory copy under X11; SDL's
// Wayland driver offers no such surface, and there a streaming texture of a renderer takes its place.
enum class PresentingPath { automatic, windowSurface, texture };

}  // namespace qv
