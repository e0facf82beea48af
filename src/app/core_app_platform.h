#pragma once

#include <SDL.h>

#include <memory>
#include <optional>

#include "app/core_app.h"
#include "app/instance_lock.h"
#include "app/presenter.h"

namespace qv {

// The window-system side of a running application, kept out of core_app.h so that code outside
// the shell never sees SDL.
struct CoreApp::Platform {
    InstanceLock lock;
    bool videoStarted = false;
    SDL_Cursor* cursor = nullptr;
    std::unique_ptr<Presenter> presenter;
    // An event that arrived while the loop waited; it is the next message taken.
    std::optional<SDL_Event> heldEvent;
};

}  // namespace qv
