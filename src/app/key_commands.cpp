#include "app/key_commands.h"

namespace qv {

ShellCommand commandForKey(SDL_Keycode key, Uint16 modifiers) {
    const bool alt = (modifiers & KMOD_ALT) != 0;
    // Ctrl+P and the like are other programs' shortcuts (a window manager's, say): they do not pause.
    const bool chord = (modifiers & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) != 0;
    switch (key) {
        case SDLK_F11:
            return ShellCommand::toggleFullscreen;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return alt ? ShellCommand::toggleFullscreen : ShellCommand::none;
        case SDLK_ESCAPE:
            return ShellCommand::leaveFullscreen;
        case SDLK_p:
            return chord ? ShellCommand::none : ShellCommand::togglePause;
        case SDLK_PAUSE:
            return ShellCommand::togglePause;
        default:
            return ShellCommand::none;
    }
}

}  // namespace qv
