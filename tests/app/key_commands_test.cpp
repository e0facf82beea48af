// The keys the window answers: full screen and pause. Everything else, and a held key's repeats,
// asks for nothing.
#include <gtest/gtest.h>

#include "app/event_translation.h"
#include "app/key_commands.h"

namespace qv {
namespace {

TEST(KeyCommands, FullScreenAndPauseKeys) {
    using enum ShellCommand;
    const struct {
        SDL_Keycode key;
        Uint16 modifiers;
        ShellCommand command;
    } cases[] = {
        {SDLK_F11, KMOD_NONE, toggleFullscreen},    {SDLK_RETURN, KMOD_LALT, toggleFullscreen},
        {SDLK_RETURN, KMOD_RALT, toggleFullscreen}, {SDLK_KP_ENTER, KMOD_LALT, toggleFullscreen},
        {SDLK_RETURN, KMOD_NONE, none},             {SDLK_ESCAPE, KMOD_NONE, leaveFullscreen},
        {SDLK_p, KMOD_NONE, togglePause},           {SDLK_p, KMOD_CAPS, togglePause},
        {SDLK_p, KMOD_LSHIFT, togglePause},         {SDLK_p, KMOD_LCTRL, none},
        {SDLK_PAUSE, KMOD_NONE, togglePause},       {SDLK_SPACE, KMOD_NONE, none},
        {SDLK_q, KMOD_NONE, none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(commandForKey(c.key, c.modifiers), c.command) << SDL_GetKeyName(c.key) << " with " << c.modifiers;
        SDL_Event press{};
        press.type = SDL_KEYDOWN;
        press.key.keysym.sym = c.key;
        press.key.keysym.mod = c.modifiers;
        EXPECT_EQ(translateEvent(press).command, c.command) << SDL_GetKeyName(c.key);
        press.key.repeat = 1;
        EXPECT_EQ(translateEvent(press).command, none) << SDL_GetKeyName(c.key) << ", held";
    }
}

}  // namespace
}  // namespace qv
