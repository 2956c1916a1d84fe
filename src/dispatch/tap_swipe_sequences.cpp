// Tap-swipes: a key (or, for the click variant, the left button) puts a finger
// on a centre and swipes it towards the mouse pointer, as far as a radius.
//
// Both variants share the tap suppression values with plain taps: a press
// stamps tapSwipePressTime and clears tapSwipeLiftTime (a tap-swipe is held),
// a release records when its lift is due and which action lifted. A press of
// the same action within 100 ms of its own lift is a bounce and is ignored.
#include "dispatch/sequence_delay.h"
#include "dispatch/sequence_steps.h"

namespace Keyweave {

using namespace Sequences;

namespace {

constexpr int64_t kBounceMs = 100;
// A finger lifted sooner than this after its press stays down until then.
constexpr int64_t kShortestHoldMs = 100;
// The pointer decides the direction only after the finger has been down this long.
constexpr int64_t kFollowAfterMs = 100;
// Closer to the centre than this (hundredths of a percent), the swipe first
// passes through a point on a small circle, so the game sees a direction.
constexpr float kNearCentre = 400.0f;
constexpr float kNudgeRadius = 4.0f;  // percent
constexpr int32_t kNudgeMs = 50;
constexpr int32_t kReachAfterNudgeMs = 90;
constexpr int32_t kReachMs = 50;
constexpr int32_t kClickReachAfterNudgeMs = 40;

template <typename Record>
struct TapSwipeView {
    Record& action;
    Dispatcher::MousePlacement target;  // p and its distance from the centre
    Point nudge;                        // the point on the small circle
};

template <typename Record>
TapSwipeView<Record> Place(Dispatcher& dispatcher, Record& action) {
    const float stretch = dispatcher.ScreenCentre().stretch;
    const auto target =
        dispatcher.MousePoint(action.point, static_cast<float>(action.radius), stretch, action.force != 0);
    const Point nudge = dispatcher.MousePoint(action.point, kNudgeRadius, stretch, true).point;
    action.currentPoint = target.point;
    return {action, target, nudge};
}

bool IsOwnBounce(Dispatcher& dispatcher, const Action& action, Millis now) {
    return dispatcher.WithTapSuppression([&](const Dispatcher::TapSuppression& tap) {
        return tap.lastTapSwipe == &action && MillisSince(now, tap.tapSwipeLiftTime) < kBounceMs;
    });
}

void NoteHeld(Dispatcher& dispatcher, Millis now) {
    dispatcher.WithTapSuppression([&](Dispatcher::TapSuppression& tap) {
        tap.tapSwipeLiftTime = 0;
        tap.tapSwipePressTime = StampOf(now);
    });
}

// Centre at once, then on towards the pointer unless `follow` is false.
template <typename Record>
void PlayPress(Dispatcher& dispatcher, TaskIdList& ids, const TapSwipeView<Record>& view, bool follow) {
    const int32_t slot = view.action.slot;
    PlayTouchInto(dispatcher, ids, view.action.point, slot, 0, true);
    if (!follow) return;
    int32_t reach = kReachMs;
    if (view.target.distance < kNearCentre) {
        PlayTouchInto(dispatcher, ids, view.nudge, slot, kNudgeMs, true);
        reach = kReachAfterNudgeMs;
    }
    PlayTouchInto(dispatcher, ids, view.target.point, slot, reach, true);
}

template <typename Record>
void PlayRelease(Dispatcher& dispatcher, TaskIdList& ids, const TapSwipeView<Record>& view, Millis now) {
    Record& action = view.action;
    if (action.slot != Dispatcher::kNoSlot && action.lastMessage != -1) {
        int32_t lift = 0;
        if (action.pressTime != 0) {
            const int64_t held = MillisSince(now, action.pressTime);
            if (held < kShortestHoldMs) lift = static_cast<int32_t>(kShortestHoldMs - held);
        }
        PlayTouchInto(dispatcher, ids, view.target.point, action.slot, lift, false);
        dispatcher.WithTapSuppression([&](Dispatcher::TapSuppression& tap) {
            tap.lastTapSwipe = &action;
            tap.tapSwipeLiftTime = StampOf(now + static_cast<Millis>(lift));
        });
        action.slot = Dispatcher::kNoSlot;
        action.lastMessage = -1;
    }
    action.pressTime = 0;
}

template <typename Record>
void PlayFollow(Dispatcher& dispatcher, TaskIdList& ids, const TapSwipeView<Record>& view, Millis now) {
    const Record& action = view.action;
    if (action.pressTime != 0 && MillisSince(now, action.pressTime) > kFollowAfterMs && action.lastMessage != -1) {
        PlayTouchInto(dispatcher, ids, view.target.point, action.slot, 0, true);
    }
}

}  // namespace

TaskIdList Dispatcher::PlayTapSwipe(TapSwipeAction& action, int32_t /*delayMs*/, int32_t event) {
    const auto view = Place(*this, action);
    const Millis now = Now();
    TaskIdList ids;
    switch (event) {
        case kKeyDownMessage:
            if (IsOwnBounce(*this, action, now)) {
                action.lastMessage = -1;
                return {};
            }
            NoteHeld(*this, now);
            if (!TakeOrKeepSlot(*this, action.slot)) return {};
            PlayPress(*this, ids, view, true);
            action.pressTime = StampOf(now);
            action.lastMessage = kKeyDownMessage;
            break;
        case kKeyUpMessage:
            PlayRelease(*this, ids, view, now);
            break;
        case kMouseMove:
            PlayFollow(*this, ids, view, now);
            break;
        default:
            break;
    }
    return ids;
}

TaskIdList Dispatcher::PlayTapSwipeClick(TapSwipeClickAction& action, int32_t delayMs, int32_t event) {
    const auto view = Place(*this, action);
    const Millis now = Now();
    TaskIdList ids;
    switch (event) {
        case kKeyDownMessage:
            if (IsOwnBounce(*this, action, now)) {
                action.lastMessage = -1;
                return {};
            }
            if (!TakeOrKeepSlot(*this, action.slot)) return {};
            NoteHeld(*this, now);
            // Without the left button the finger waits on the centre for a click.
            PlayPress(*this, ids, view, input().IsLeftButtonDown());
            action.pressTime = StampOf(now);
            action.lastMessage = kKeyDownMessage;
            break;
        case kKeyUpMessage:
        case kLeftButtonUp:
            PlayRelease(*this, ids, view, now);
            break;
        case kLeftButtonDown:
            if (action.lastMessage != -1) {
                int32_t reach = delayMs;
                if (view.target.distance < kNearCentre) {
                    PlayTouchInto(*this, ids, view.nudge, action.slot, 0, true);
                    reach = SequenceDelay(int64_t{delayMs} + kClickReachAfterNudgeMs);
                }
                PlayTouchInto(*this, ids, view.target.point, action.slot, reach, true);
                action.pressTime = StampOf(now);
            }
            break;
        case kMouseMove:
            if (input().IsLeftButtonDown()) PlayFollow(*this, ids, view, now);
            break;
        default:
            break;
    }
    return ids;
}

}  // namespace Keyweave
