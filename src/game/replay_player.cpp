#include "game/replay_player.h"

#include <algorithm>

#include "app/core_app.h"

namespace qv {

void deliverMouseEvent(CoreApp& app, const replay::ScriptEvent& event) {
    using replay::MouseAction;
    switch (event.action) {
        case MouseAction::Move: app.onMouseMove(event.x, event.y); break;
        case MouseAction::LeftDown: app.onLButtonDown(event.x, event.y); break;
        case MouseAction::RightDown: app.onRButtonDown(event.x, event.y); break;
        case MouseAction::LeftUp: app.onLButtonUp(event.x, event.y); break;
        case MouseAction::RightUp: app.onRButtonUp(event.x, event.y); break;
    }
}

void ReplayPlayer::beforeFrame(int32_t frame, CoreApp& app) const {
    // The reader keeps the events in frame order.
    const auto& events = replay_.events;
    auto event = std::partition_point(events.begin(), events.end(), [frame](const auto& e) { return e.frame < frame; });
    for (; event != events.end() && event->frame == frame; ++event) {
        deliverMouseEvent(app, *event);
    }
}

}  // namespace qv
