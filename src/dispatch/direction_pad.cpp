// The combined direction pad.
//
// All swipe-hold keys steer one finger on the pad slot. The first key of a
// gesture puts the finger down at the pad's centre and glides it out to the
// target of the directions held; every further press or release moves it to
// the new target; the release of the last key lifts it 100 ms later (at once
// with a glide time of 0). A new gesture that starts within 100 ms of that
// release catches the finger before it lifts.
//
// Each key event first waits, on the calling thread and under the pad lock,
// until the pad's previous sequence has been played, so moves never overtake
// each other. The wait gives up (and drops what is left of that sequence)
// when no pad key is counted as held and the rule's key is physically up.

#include "dispatch/direction_pad.h"

#include <numbers>

#include "dispatch/dispatcher.h"
#include "dispatch/sequence_delay.h"

namespace Keyweave {

namespace {

const Point kFingerUp{-1.0f, -1.0f};  // lastPoint while the pad's finger is lifted

// Within this time of the last release (ms), a new gesture keeps the finger.
constexpr Millis kRegripWindowMs = 100;
// The radius is a fraction of the screen's width; up and down reach 1.6 radii,
// so that the pad's reach looks round on a landscape screen.
constexpr float kVerticalReach = 1.6f;
constexpr int kGlideInSteps = 5;        // centre to target when the finger goes down
constexpr int64_t kGlideInStepMs = 20;  // after the first step, which comes after the glide time
constexpr int kTurnSteps = 3;           // old target to new one on a change of direction
constexpr int64_t kTurnMs = 30;         // the new target is reached this much later
constexpr int64_t kLiftAfterMs = 100;   // the finger stays this long after the last release

// A new gesture within the window after the release, on a pad that glides,
// catches the finger before its lift. (A pad is only ever found with no key
// counted after a release has stamped its time.)
bool CatchesLiftingFinger(const SwipeHoldAction& pad, Millis now) {
    return now - pad.releaseTime <= kRegripWindowMs && pad.glideTime != 0;
}

// Where the finger goes for the pad's directions. Opposite directions cancel;
// a diagonal stays on the same ellipse as the straight directions.
Point PadTarget(const SwipeHoldAction& pad) {
    const uint32_t mask = pad.directionMask;
    const float vertical = pad.radius * kVerticalReach;
    float dx = 0.0f;
    float dy = 0.0f;
    if ((mask & SwipeHoldAction::kMaskUp) != 0) dy -= vertical;
    if ((mask & SwipeHoldAction::kMaskDown) != 0) dy += vertical;
    if ((mask & SwipeHoldAction::kMaskLeft) != 0) dx -= pad.radius;
    if ((mask & SwipeHoldAction::kMaskRight) != 0) dx += pad.radius;
    if (dx != 0.0f && dy != 0.0f) {
        dx /= std::numbers::sqrt2_v<float>;
        dy /= std::numbers::sqrt2_v<float>;
    }
    return {pad.point.x + dx, pad.point.y + dy};
}

// The point `step` of `steps` on the way from `from` to `to`.
Point Between(Point from, Point to, int step, int steps) {
    return {from.x + (to.x - from.x) * static_cast<float>(step) / static_cast<float>(steps),
            from.y + (to.y - from.y) * static_cast<float>(step) / static_cast<float>(steps)};
}

// Posts the finger's moves for the pad's new directions and records where the
// finger will be. `held` is the pad's count after this event.
void PostPadMoves(Dispatcher& dispatcher, SwipeHoldAction& pad, int32_t held, int32_t delayMs, TaskIdList& ids) {
    const Point target = PadTarget(pad);
    const Point previous = pad.lastPoint;
    const Point centre = pad.point;
    const int64_t glide = pad.glideTime;
    const auto touch = [&](Point point, int64_t delay, bool down) {
        dispatcher.AppendTouch(ids, Dispatcher::kPadSlot, point, SequenceDelay(delay), down);
    };

    int64_t last = delayMs;
    if (previous == kFingerUp && glide != 0) {
        // Down at the centre at once, then out towards the target; the
        // caller's delay plays no part in the glide out.
        touch(centre, 0, true);
        for (int i = 1; i < kGlideInSteps; ++i) {
            touch(Between(centre, target, i, kGlideInSteps), glide + kGlideInStepMs * (i - 1), true);
        }
        last = glide + kGlideInStepMs * (kGlideInSteps - 1);
    }

    if (held == 0) {
        // Every pad key is up: the finger lifts where it was.
        touch(previous, glide != 0 ? last + kLiftAfterMs : last, false);
        pad.lastPoint = kFingerUp;
        return;
    }
    pad.lastPoint = target;
    if (held < 1) return;  // more releases than presses: nothing to steer
    if (previous != kFingerUp && glide != 0) {
        // A change of direction: two steps straight away, the target a little later.
        for (int i = 1; i < kTurnSteps; ++i) touch(Between(previous, target, i, kTurnSteps), 0, true);
        last += kTurnMs;
    }
    touch(target, last, true);
}

}  // namespace

TaskIdList Dispatcher::PlaySwipeHold(const SwipeHoldAction& action, int32_t delayMs, bool down, uint32_t firstKey) {
    // The pad lock lives as long as the dispatcher, so there is no creation to
    // fail, and a lock this thread holds always releases: the pad has no lock
    // errors to report.
    DirectionPadState& pad = pad_;
    Platform::LockGuard guard(pad.lock);

    if (pad.padAction != nullptr && down && pad.padHeld == 0) {
        // The first key of a new gesture.
        if (CatchesLiftingFinger(*pad.padAction, Now())) {
            scheduler_.CancelAll(pad.padAction->taskIds);  // the pending lift goes; the finger stays down
        } else {
            pad.padAction->slot = kNoSlot;
            pad.padAction.reset();
        }
    }

    // The gesture takes its centre, radius and glide time from the key that started it.
    if (pad.padAction == nullptr) pad.padAction = std::make_unique<SwipeHoldAction>(action);
    SwipeHoldAction& padAction = *pad.padAction;
    padAction.changed = 0;
    if (down) {
        const uint32_t mask = pad.padMask | action.directionMask;
        if (mask != pad.padMask) {
            pad.padMask = mask;
            padAction.changed = 1;
        }
    } else {
        pad.padMask &= ~action.directionMask;
        padAction.changed = 1;
    }
    padAction.directionMask = pad.padMask;
    if (padAction.slot == kNoSlot) padAction.slot = kPadSlot;

    // A press that adds no direction (a second key for a direction already
    // held) plays nothing, and the pad forgets its latest sequence.
    TaskIdList ids;
    if (padAction.changed != 0) {
        pad.padHeld += down ? 1 : -1;
        ids = padAction.taskIds;
        // No other event changes the pad while this one holds its lock.
        const bool padStillHeld = pad.padHeld != 0;
        scheduler_.Await([&] {
            if (scheduler_.NonePending(ids)) return true;
            if (input_.IsKeyDown(firstKey) || padStillHeld) return false;
            scheduler_.CancelAll(ids);  // nobody holds the pad any more: what is left of it is moot
            return true;
        });
        PostPadMoves(*this, padAction, pad.padHeld, delayMs, ids);
    }

    if (!down && pad.padMask == 0) padAction.releaseTime = Now();
    padAction.taskIds = ids;
    return ids;
}

}  // namespace Keyweave
