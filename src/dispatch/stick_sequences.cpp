// Virtual joysticks driven by the game-pad sticks. Their records keep points
// and radius in hundredths of a percent; StickPoint turns them into screen
// fractions.
//
//  - stick-move: a finger that the stick drags from a start point, like a
//    mouse-look on the right stick;
//  - stick-hold: a finger held inside a circle, at the stick's deflection;
//  - tap-stick: as stick-hold, but its key puts the finger down at the centre.
#include "dispatch/pointer_state.h"
#include "dispatch/sequence_steps.h"

namespace Keyweave {

using namespace Sequences;

namespace {

// A stick finger lifts this long after its release.
constexpr int32_t kStickLiftMs = 50;

Point ToScreen(Point p) { return {p.x / kStickUnits, p.y / kStickUnits}; }

}  // namespace

TaskIdList Dispatcher::PlayStickMove(StickMoveAction& action, int32_t /*delayMs*/, int32_t phase) {
    TaskIdList ids;
    switch (phase) {
        case kStickMovePress:
            if (!TakeOrKeepSlot(*this, action.slot)) return {};
            PlayTouchInto(*this, ids, ToScreen(action.point), action.slot, 0, true);
            break;
        case kStickMoveRelease:
            if (action.slot != kNoSlot) {
                // The lift is reported at (0, 0), not where the finger was.
                PlayTouchInto(*this, ids, Point{0.0f, 0.0f}, action.slot, kStickLiftMs, false);
                action.slot = kNoSlot;
            }
            action.currentPoint = action.point;
            break;
        case kStickMoved:
            if (action.slot != kNoSlot) {
                const Point stick = StickPosition(action.control);
                action.currentPoint.x += stick.x * action.sensitivity;
                action.currentPoint.y += stick.y * action.sensitivity;
                PlayTouchInto(*this, ids, ToScreen(action.currentPoint), action.slot, 0, true);
            }
            break;
        default:
            break;
    }
    return ids;
}

TaskIdList Dispatcher::PlayStickHold(StickHoldAction& action, int32_t /*delayMs*/, int32_t phase) {
    const bool held = phase == kStickHeld;
    if (!held && phase != kStickHoldRelease) return {};
    if (!held && action.slot == kNoSlot) {
        action.currentPoint = action.point;  // released before it ever touched down
        return {};
    }
    if (!TakeOrKeepSlot(*this, action.slot)) return {};
    const Point point =
        StickPoint(action.control, action.point, action.currentPoint, action.radius, action.sensitivity, held);
    TaskIdList ids;
    PlayTouchInto(*this, ids, point, action.slot, 0, held);
    if (!held) action.slot = kNoSlot;
    return ids;
}

TaskIdList Dispatcher::PlayTapStick(TapStickAction& action, int32_t /*delayMs*/, int32_t phase) {
    TaskIdList ids;
    switch (phase) {
        case kTapStickPress: {
            if (!TakeOrKeepSlot(*this, action.slot)) return {};
            StickPoint(action.control, action.point, action.currentPoint, action.radius, action.sensitivity, true);
            action.lastPoint = ToScreen(action.point);
            PlayTouchInto(*this, ids, action.lastPoint, action.slot, 0, true);
            break;
        }
        case kTapStickRelease:
            if (action.slot != kNoSlot) {
                action.lastPoint = StickPoint(action.control, action.point, action.currentPoint, action.radius,
                                              action.sensitivity, false);
                PlayTouchInto(*this, ids, action.lastPoint, action.slot, kStickLiftMs, false);
                action.slot = kNoSlot;
            }
            break;
        case kStickMoved:
            if (action.slot != kNoSlot) {
                action.lastPoint = StickPoint(action.control, action.point, action.currentPoint, action.radius,
                                              action.sensitivity, true);
                PlayTouchInto(*this, ids, action.lastPoint, action.slot, 0, true);
            }
            break;
        default:
            break;
    }
    return ids;
}

}  // namespace Keyweave
