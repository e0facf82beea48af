#pragma once

#include <SDL.h>

#include "app/shell_command.h"

namespace qv {

// F11 and Alt+Enter toggle full screen, Escape leaves it, P and the Pause key pause and resume.
// A held key's repeats ask for nothing (see translateEvent).
ShellCommand commandForKey(SDL_Keycode key, Uint16 modifiers);

}  // namespace qv
