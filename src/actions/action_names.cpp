// The keyword-like name of every record class, for people reading what an
// action did.

#include "actions/action.h"

namespace Keyweave {

using enum ActionType;

const char* ActionTypeName(ActionType type) {
    switch (type) {
        case kScreenAction:
            return "Screen";
        case kKeyAction:
            return "Key";
        case kTapAction:
            return "Tap";
        case kSwipeAction:
            return "Swipe";
        case kSwipeActionXY:
            return "SwipeXY";
        case kSwipeTraceAction:
            return "SwipeTrace";
        case kSwipeHoldAction:
            return "SwipeHold";
        case kPinchAction:
            return "Pinch";
        case kAbsoluteTiltAction:
            return "AbsoluteTilt";
        case kRelativeTiltAction:
            return "RelativeTilt";
        case kMouseAction:
            return "Mouse";
        case kMouseSwipeAction:
            return "MouseSwipe";
        case kMouseHoldAction:
            return "MouseHold";
        case kTapSwipeAction:
            return "TapSwipe";
        case kTapTapAction:
            return "TapTap";
        case kTapSwipeClickAction:
            return "TapSwipeClick";
        case kStickHoldAction:
            return "StickHold";
        case kStickMoveAction:
            return "StickMove";
        case kTouchMoveAction:
            return "TouchMove";
        case kShootMoveAction:
            return "ShootMove";
        case kShootModeAction:
            return "ShootMode";
        case kTapStickAction:
            return "TapStick";
        case kTapCancelAction:
            return "TapCancel";
        case kSuspendShootAction:
            return "SuspendShoot";
        case kTapsMacroAction:
            return "TapsMacro";
    }
    return "Unknown";
}

}  // namespace Keyweave
