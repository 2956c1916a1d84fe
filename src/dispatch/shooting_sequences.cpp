// Mouse-look: a finger that the mouse drags from an origin (shoot-move), and
// the shooting mode with a look finger and a fire finger (shoot-mode).
//
// The pointer is re-centred by the host after every move, so each move
// message carries only the offset from the middle of the window; the look
// finger moves by that offset times the sensitivity.
//
// Shooting modes, picked by the keymap:
//  1  the look finger follows the mouse; firing adds the fire finger.
//  2  firing lifts the look finger and drags with the fire finger instead;
//     releasing the fire button puts the look finger back at the origin.
//  3  as 2 but the look finger is not lifted, the drag slows down the further
//     it gets from where it started, and releasing the fire button goes back
//     to where the look finger was.
//  4  as 1, but a look finger pushed off the screen starts over at the origin.
// Any other mode keeps the look finger at the origin.
#include <algorithm>
#include <cmath>

#include "dispatch/sequence_delay.h"
#include "dispatch/sequence_steps.h"

namespace Keyweave {

using namespace Sequences;

namespace {

// Mode 2 lifts the look finger before the fire finger goes down, and brings
// it back this much after the fire finger lifts; mode 4 restarts the look
// gesture this much after lifting it.
constexpr int32_t kFingerSwapMs = 50;
// Mode 3 slows the drag down with distance: horizontally by this factor per
// screen width, vertically by the aspect ratio, never below the floor.
constexpr float kSlowdownX = 2.2f;
constexpr float kSlowdownFloor = 0.15f;

bool OffScreen(Point p) { return p.x < 0.0f || p.x > 1.0f || p.y < 0.0f || p.y > 1.0f; }

float Slowdown(float distance, float factor) { return std::max(kSlowdownFloor, 1.0f - distance * factor); }

// Releases a slot taken by this call, so a failed start leaves the record unchanged.
void GiveBack(Dispatcher& dispatcher, int32_t& slot, bool taken) {
    if (!taken) return;
    dispatcher.ReleaseSlot(static_cast<uint32_t>(slot));
    slot = Dispatcher::kNoSlot;
}

// One mouse move of a started shooting mode: the look finger (or, while
// firing in modes 2 and 3, the fire finger) moves by the mouse's offset.
TaskIdList ShootModeLook(Dispatcher& dispatcher, ShootModeAction& action, int32_t delayMs) {
    const Point origin = action.point;
    const ShootingMode mode = action.modeType;
    TaskIdList ids;
    Point delta = MouseDelta(dispatcher, action.sensitivity);
    int32_t t = delayMs;
    const Point current = action.currentPoint;
    Point next = Plus(current, delta);
    switch (mode) {
        case ShootingMode::kLook:
        case ShootingMode::kFireFingerAims:
            break;
        case ShootingMode::kSlowedAim:
            if (current != origin) {
                const Point ref = action.lastMessage == kLeftButtonDown ? action.point2 : origin;
                delta.x *= Slowdown(std::fabs(current.x - ref.x), kSlowdownX);
                delta.y *= Slowdown(std::fabs(current.y - ref.y), dispatcher.aspectRatio());
                next = Plus(current, delta);
            }
            break;
        case ShootingMode::kRecentreAtEdge:
            if (OffScreen(next)) {
                next = origin;
                dispatcher.AppendTouch(ids, action.lookSlot, origin, 0, false);
                t = SequenceDelay(int64_t{t} + kFingerSwapMs);
            }
            break;
    }
    const bool firingAims = mode == ShootingMode::kFireFingerAims || mode == ShootingMode::kSlowedAim;
    const bool dragsFire = action.lastMessage == kLeftButtonDown && firingAims;
    PostTouchInto(dispatcher, ids, next, dragsFire ? action.fireSlot : action.lookSlot, t, true);
    action.currentPoint = next;
    return ids;
}

}  // namespace

TaskIdList Dispatcher::PlayShootMove(ShootMoveAction& action, int32_t delayMs, int32_t event) {
    TaskIdList ids;
    switch (event) {
        case kKeyDownMessage:
            if (!TakeOrKeepSlot(*this, action.slot)) return {};
            AppendTouch(ids, action.slot, action.point, delayMs, true);
            action.currentPoint = action.point;
            break;
        case kKeyUpMessage:
            if (action.slot != kNoSlot) {
                AppendTouch(ids, action.slot, action.point, delayMs, false);
                PostSlotRelease(static_cast<uint32_t>(action.slot), 0);
                action.slot = kNoSlot;
                action.currentPoint = action.point;
            }
            break;
        case kMouseMove:
            if (action.slot != kNoSlot) {
                action.currentPoint = Plus(action.currentPoint, MouseDelta(*this, action.sensitivity));
                AppendTouch(ids, action.slot, action.currentPoint, delayMs, true);
            }
            break;
        default:
            break;
    }
    return ids;
}

TaskIdList Dispatcher::PlayShootMode(ShootModeAction& action, int32_t delayMs, int32_t event) {
    const Point origin = action.point;
    const Point fire = action.point2;
    const ShootingMode mode = action.modeType;
    // The fire finger follows the mouse while the button is down.
    const bool firingAims = mode == ShootingMode::kFireFingerAims || mode == ShootingMode::kSlowedAim;
    const bool started = action.lookSlot != kNoSlot && action.fireSlot != kNoSlot;
    TaskIdList ids = action.taskIds;

    switch (event) {
        case kKeyDownMessage: {
            const bool takeLook = action.lookSlot == kNoSlot;
            if (!TakeOrKeepSlot(*this, action.lookSlot)) return {};
            if (!TakeOrKeepSlot(*this, action.fireSlot)) {
                GiveBack(*this, action.lookSlot, takeLook);
                return {};
            }
            AppendTouch(ids, action.lookSlot, origin, delayMs, true);
            action.currentPoint = origin;
            action.lastMessage = kKeyDownMessage;
            break;
        }
        case kKeyUpMessage:
            if (!started) break;
            // A finger swap still to come (the look finger back after firing, a
            // restart at the origin) would put a finger down in a slot given back
            // here: it goes, and both fingers lift.
            scheduler().CancelAll(action.taskIds);
            ids.clear();
            PostTouchInto(*this, ids, origin, action.lookSlot, delayMs, false);
            PostTouchInto(*this, ids, fire, action.fireSlot, delayMs, false);
            PostSlotRelease(static_cast<uint32_t>(action.lookSlot), 0);
            PostSlotRelease(static_cast<uint32_t>(action.fireSlot), 0);
            action.lookSlot = kNoSlot;
            action.fireSlot = kNoSlot;
            action.currentPoint = origin;
            action.lastMessage = kKeyUpMessage;
            break;
        case kMouseMove:
            // Moves that arrive while the previous one still plays are dropped.
            if (!started || !scheduler().NonePending(action.taskIds)) break;
            ids = ShootModeLook(*this, action, delayMs);
            break;
        case kLeftButtonDown: {
            if (!started) break;
            int32_t t = delayMs;
            if (mode == ShootingMode::kFireFingerAims) {
                AppendTouch(ids, action.lookSlot, fire, 0, false);
                t = kFingerSwapMs;
            }
            if (mode == ShootingMode::kSlowedAim) action.savedPoint = action.currentPoint;
            PostTouchInto(*this, ids, fire, action.fireSlot, t, true);
            if (firingAims) action.currentPoint = fire;
            action.lastMessage = kLeftButtonDown;
            break;
        }
        case kLeftButtonUp:
            if (!started) break;
            // The fire finger must not lift before the sequence that put it down has played.
            scheduler().Await([&] { return scheduler().NonePending(action.taskIds); });
            ids.clear();
            if (mode == ShootingMode::kSlowedAim) action.currentPoint = action.savedPoint;
            AppendTouch(ids, action.fireSlot, origin, 0, false);
            if (mode == ShootingMode::kFireFingerAims) {
                AppendTouch(ids, action.lookSlot, origin, kFingerSwapMs, true);
                action.currentPoint = origin;
            }
            action.lastMessage = kLeftButtonUp;
            break;
        default:
            break;
    }
    action.taskIds = ids;
    return ids;
}

}  // namespace Keyweave
