#pragma once

namespace qv {

// What a key asks of the shell. The keys belong to the window, not to the application: the game is
// played with the mouse alone.
enum class ShellCommand { none, toggleFullscreen, leaveFullscreen, togglePause };

}  // namespace qv
