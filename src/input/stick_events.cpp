// Game-pad sticks driving the stick actions: the tick thread of each pad
// hands over both sticks' positions every few milliseconds while one is off
// centre, and once more when it comes back.

#include "codes/event_codes.h"
#include "input/action_executor.h"

namespace Keyweave {

using enum ActionType;

void ActionExecutor::StickEvent(uint32_t stick, float x, float y, int32_t phase) {
    gamePad_.With([&](Config* config) {
        if (config == nullptr) return;  // a keymap is being loaded
        dispatcher_.SetStickPosition(stick, x, y);
        ActiveRegistry& sticks = config->ActiveStickActions();
        {
            // Held while the active stick actions play; they may clear their
            // own entries (the lock is recursive).
            Platform::LockGuard guard(sticks.lock());
            for (Action* action : sticks.CopyActive()) {
                if (action != nullptr) StickActive(*config, *action, 0, phase);
            }
        }
        if (Action* bound = config->GamePadAction(stick)) {
            StickBound(*config, *bound, phase);
            if (stick == GamePad::kRightStick) lastRightStickPhase_.store(phase);
        }
    });
}

void ActionExecutor::StickActive(Config& config, Action& action, int32_t delayMs, int32_t phase) {
    ActiveRegistry& sticks = config.ActiveStickActions();
    switch (action.type) {
        case kStickHoldAction:
            if (phase != kStickHeld && phase != kStickHoldRelease) return;
            dispatcher_.PlayStickHold(static_cast<StickHoldAction&>(action), delayMs, phase);
            if (phase == kStickHoldRelease) sticks.RemoveActive(kStickHoldAction);
            return;
        case kStickMoveAction:
            if (phase != kStickMoveRelease && phase != kStickMovePress) return;
            if (sticks.GetActive(kTapStickAction) != nullptr) {
                // A tap-stick took the right stick over: this finger lets go.
                sticks.RemoveActive(kStickMoveAction);
                dispatcher_.PlayStickMove(static_cast<StickMoveAction&>(action), delayMs, kStickMoveRelease);
            } else {
                dispatcher_.PlayStickMove(static_cast<StickMoveAction&>(action), delayMs, kStickMoved);
            }
            return;
        case kTapStickAction:
            if (phase != kStickMoveRelease && phase != kStickMovePress) return;
            dispatcher_.PlayTapStick(static_cast<TapStickAction&>(action), delayMs, kStickMoved);
            return;
        case kScreenAction:
        case kKeyAction:
        case kTapAction:
        case kSwipeAction:
        case kSwipeActionXY:
        case kSwipeTraceAction:
        case kSwipeHoldAction:
        case kPinchAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kMouseAction:
        case kMouseSwipeAction:
        case kMouseHoldAction:
        case kTapSwipeAction:
        case kTapTapAction:
        case kTapSwipeClickAction:
        case kTouchMoveAction:
        case kShootMoveAction:
        case kShootModeAction:
        case kTapCancelAction:
        case kSuspendShootAction:
        case kTapsMacroAction:
            return;
    }
}

void ActionExecutor::StickBound(Config& config, Action& bound, int32_t phase) {
    ActiveRegistry& sticks = config.ActiveStickActions();
    switch (bound.type) {
        case kStickHoldAction:
            // Starts holding on the first deflection; it plays from the next tick.
            if (sticks.GetActive(kStickHoldAction) == nullptr && phase == kStickHeld) {
                sticks.SetActive(kStickHoldAction, &bound);
            }
            return;
        case kStickMoveAction: {
            if (sticks.GetActive(kTapStickAction) != nullptr) return;
            auto& move = static_cast<StickMoveAction&>(bound);
            if (sticks.GetActive(kStickMoveAction) != nullptr) {
                if (phase == kStickMoveRelease) {
                    dispatcher_.PlayStickMove(move, 0, kStickMoveRelease);
                    sticks.RemoveActive(kStickMoveAction);
                }
            } else if (phase == kStickMovePress && lastRightStickPhase_.load() == kStickMoveRelease) {
                // The stick has just left the centre.
                dispatcher_.PlayStickMove(move, 0, kStickMovePress);
                sticks.SetActive(kStickMoveAction, &bound);
            }
            return;
        }
        case kScreenAction:
        case kKeyAction:
        case kTapAction:
        case kSwipeAction:
        case kSwipeActionXY:
        case kSwipeTraceAction:
        case kSwipeHoldAction:
        case kPinchAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kMouseAction:
        case kMouseSwipeAction:
        case kMouseHoldAction:
        case kTapSwipeAction:
        case kTapTapAction:
        case kTapSwipeClickAction:
        case kTouchMoveAction:
        case kShootMoveAction:
        case kShootModeAction:
        case kTapStickAction:
        case kTapCancelAction:
        case kSuspendShootAction:
        case kTapsMacroAction:
            return;
    }
}

}  // namespace Keyweave
