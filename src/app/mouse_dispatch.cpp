#include "app/core_app.h"
#include "app/messages.h"

namespace qv {

// The position word holds two signed 16-bit client coordinates; positions left of or above the
// window arrive negative. The key state in wParam is not passed on.
int CoreApp::dispatchMouse(uint32_t message, uint64_t /*wParam*/, int64_t lParam) {
    const auto x = static_cast<int32_t>(static_cast<int16_t>(static_cast<uint16_t>(lParam & 0xFFFF)));
    const auto y = static_cast<int32_t>(static_cast<int16_t>(static_cast<uint16_t>((lParam >> 16) & 0xFFFF)));
    switch (message) {
        case kMouseMoveMessage:
            onMouseMove(x, y);
            return 1;
        case kLeftButtonDownMessage:
            onLButtonDown(x, y);
            return 1;
        case kLeftButtonUpMessage:
            onLButtonUp(x, y);
            return 1;
        case kLeftButtonDoubleClickMessage:
            onLButtonDblClk(x, y);
            return 1;
        case kRightButtonDownMessage:
            onRButtonDown(x, y);
            return 1;
        case kRightButtonUpMessage:
            onRButtonUp(x, y);
            return 1;
        case kRightButtonDoubleClickMessage:
            onRButtonDblClk(x, y);
            return 1;
        default:
            return 0;
    }
}

}  // namespace qv
