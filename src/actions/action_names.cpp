// The keyword-like name of every record class, for people reading what an
// action did.

#include <iterator>

#include "actions/action.h"

namespace Keyweave {

const char* ActionTypeName(uint32_t type) {
    struct Name {
        uint32_t type;
        const char* name;
    };
    static constexpr Name kNames[] = {
        {kScreenAction, "Screen"},         {kKeyAction, "Key"},
        {kTapAction, "Tap"},               {kSwipeAction, "Swipe"},
        {kSwipeActionXY, "SwipeXY"},       {kSwipeTraceAction, "SwipeTrace"},
        {kSwipeHoldAction, "SwipeHold"},   {kPinchAction, "Pinch"},
        {kAbsoluteTiltAction, "AbsoluteTilt"}, {kRelativeTiltAction, "RelativeTilt"},
        {kMouseAction, "Mouse"},           {kMouseSwipeAction, "MouseSwipe"},
        {kMouseHoldAction, "MouseHold"},   {kTapSwipeAction, "TapSwipe"},
        {kTapTapAction, "TapTap"},         {kTapSwipeClickAction, "TapSwipeClick"},
        {kStickHoldAction, "StickHold"},   {kStickMoveAction, "StickMove"},
        {kTouchMoveAction, "TouchMove"},   {kShootMoveAction, "ShootMove"},
        {kShootModeAction, "ShootMode"},   {kTapStickAction, "TapStick"},
        {kTapCancelAction, "TapCancel"},   {kSuspendShootAction, "SuspendShoot"},
        {kTapsMacroAction, "TapsMacro"},
    };
    static_assert(std::size(kNames) == 25, "one name for every record class");
    for (const Name& entry : kNames) {
        if (entry.type == type) return entry.name;
    }
    return "Unknown";
}

}  // namespace Keyweave
