// The timed touch sequences of the key-driven actions: taps, double-point
// taps, swipes (by direction, between two points, along a trace), pinches, tap
// macros and the glide that cancels a held finger.
//
// Each runs on the thread that delivers the input and only posts tasks: the
// frames reach the host later, on the scheduler thread. A sequence that takes
// a slot from the pool gives it back with a SlotReleaseTask posted at the
// delay of its lift, after the lift, so the lift is reported before the slot
// can be handed out again. Taps are the exception: they keep their slot bound
// to the action from press to release.

#include <algorithm>
#include <cstdint>
#include <memory>

#include "dispatch/dispatcher.h"
#include "dispatch/sequence_delay.h"
#include "dispatch/tasks.h"

namespace Keyweave {

namespace {

// How long a held tap-swipe keeps plain taps off the screen after its press,
// and how long after its lift (ms): a tap bound to the same key area would
// otherwise land in the middle of the swipe.
constexpr Millis kTapSwipeHoldGuardMs = 500;
constexpr Millis kTapSwipeLiftGuardMs = 50;

constexpr int32_t kTapTapHoldMs = 20;      // each tap of a tap-tap
constexpr int32_t kMacroTapHoldMs = 50;    // each tap of a macro
constexpr int32_t kTracePointStepMs = 10;  // between the points of a trace
constexpr uint32_t kFastPinchStepMs = 30;  // step time of a fast pinch
constexpr int kSwipeSteps = 6;             // a swipe covers its length in six moves
constexpr int kSwipeStepTimeDivisor = 8;   // ...each duration / 8 apart
constexpr int kCancelGlideSteps = 10;

// More touches than any real macro needs; a keymap asking for more would fill
// the queue for hours.
constexpr int64_t kMostMacroTaps = 5000;

// Whether a plain tap pressed at `now` yields to a tap-swipe. A press time of
// 0 means no tap-swipe was pressed since the reset, a lift time of 0 that the
// last one pressed is still held. Differences are unsigned: a lift that is
// still due lies "long ago" and holds nothing back.
bool YieldsToTapSwipe(const Dispatcher::TapSuppression& state, Millis now) {
    if (state.tapSwipeLiftTime == 0) {
        return state.tapSwipePressTime != 0 && now - state.tapSwipePressTime < kTapSwipeHoldGuardMs;
    }
    return now - state.tapSwipeLiftTime < kTapSwipeLiftGuardMs;
}

// One move of a swipe; the moved coordinate stays on the screen.
Point MovedAlong(Point point, uint32_t direction, float step) {
    switch (direction) {
        case kSwipeUp:
            point.y = std::clamp(point.y - step, 0.0f, 1.0f);
            break;
        case kSwipeDown:
            point.y = std::clamp(point.y + step, 0.0f, 1.0f);
            break;
        case kSwipeLeft:
            point.x = std::clamp(point.x - step, 0.0f, 1.0f);
            break;
        case kSwipeRight:
            point.x = std::clamp(point.x + step, 0.0f, 1.0f);
            break;
        default:
            break;  // no such direction: the finger stays where it went down
    }
    return point;
}

}  // namespace

TaskId Dispatcher::PostTouch(Point point, int32_t slot, int32_t delayMs, bool down) {
    // Callers hold their slot, so this never happens in play; the task is
    // still queued, so that the id the caller keeps settles like any other.
    if (slot < 0 || static_cast<uint32_t>(slot) >= count_) {
        log_.Write("Cannot touch slot %d: the frame has %u entries", slot, count_);
    }
    lastTouchSlot_.store(slot, std::memory_order_relaxed);
    return scheduler_.PostNew<TouchTask>(delayMs, touchCallback_, touchContext_, points_, frameLock_, count_, slot,
                                         point.x, point.y, down);
}

TaskIdList Dispatcher::PlayTouch(Point point, int32_t slot, int32_t delayMs, bool down) {
    TaskIdList ids;
    if (slot == kNoSlot) return ids;
    AppendTouch(ids, slot, point, delayMs, down);
    if (!down && !ids.empty()) ids.push_back(PostSlotRelease(static_cast<uint32_t>(slot), delayMs));
    return ids;
}

TaskIdList Dispatcher::PlayTap(const TapAction& action, int32_t delayMs, bool down) {
    if (down) {
        const Millis now = Now();
        if (WithTapSuppression([now](const TapSuppression& state) { return YieldsToTapSwipe(state, now); })) {
            tapYieldCount_.fetch_add(1, std::memory_order_relaxed);
            return {};
        }
    }
    const int32_t slot = SlotForAction(&action);
    if (slot == kNoSlot) {
        LogNoSlotForAction(&action);
        return {};
    }
    TaskIdList ids;
    AppendTouch(ids, slot, action.point, delayMs, down);
    if (!down) {
        BindSlot(&action, kNoSlot);
        PostSlotRelease(static_cast<uint32_t>(slot), delayMs);
    }
    return ids;
}

TaskIdList Dispatcher::PlayTapTap(const TapTapAction& action, int32_t delayMs, bool down) {
    const Point point = down ? action.point : action.point2;
    const int32_t slot = AcquireSlot();
    if (slot == kNoSlot) {
        LogNoFreeSlot();
        return {};
    }
    const int32_t liftDelay = SequenceDelay(int64_t{delayMs} + kTapTapHoldMs);
    // Press and release alike tap: down at the delay, up 20 ms later.
    TaskIdList ids;
    AppendTouch(ids, slot, point, delayMs, true);
    AppendTouch(ids, slot, point, liftDelay, false);
    PostSlotRelease(static_cast<uint32_t>(slot), liftDelay);
    return ids;
}

TaskIdList Dispatcher::PlaySwipe(const SwipeAction& action, int32_t delayMs, Platform::Event* wakeup) {
    const float step = action.length / static_cast<float>(kSwipeSteps);
    const int64_t stepTime =
        action.stepTime != 0 ? int64_t{action.stepTime} : int64_t{action.duration / kSwipeStepTimeDivisor};
    const int32_t slot = AcquireSlot();
    if (slot == kNoSlot) {
        LogNoFreeSlot();
        return {};
    }
    const auto at = [&](int64_t steps) { return SequenceDelay(delayMs + steps * stepTime); };

    TaskIdList ids;
    Point point = action.point;
    AppendTouch(ids, slot, point, delayMs, true);
    for (int i = 1; i < kSwipeSteps; ++i) {
        point = MovedAlong(point, action.direction, step);
        AppendTouch(ids, slot, point, at(i), true);
    }
    const Point end = MovedAlong(point, action.direction, step);
    int64_t liftStep = kSwipeSteps;
    if (action.noSettle == 0) {
        AppendTouch(ids, slot, end, at(liftStep), true);  // the finger rests on the end point first
        ++liftStep;
    }
    AppendTouch(ids, slot, end, at(liftStep), false);
    PostSlotRelease(static_cast<uint32_t>(slot), at(liftStep));
    if (wakeup != nullptr) PostWakeup(*wakeup, at(liftStep));
    return ids;
}

TaskIdList Dispatcher::PlaySwipeXY(const SwipeActionXY& action, int32_t delayMs, Platform::Event* wakeup) {
    const int64_t stepTime = action.duration / kSwipeStepTimeDivisor;
    const int32_t slot = AcquireSlot();
    if (slot == kNoSlot) {
        LogNoFreeSlot();
        return {};
    }
    const auto at = [&](int64_t steps) { return SequenceDelay(delayMs + steps * stepTime); };
    const Point step{(action.end.x - action.start.x) / kSwipeSteps, (action.end.y - action.start.y) / kSwipeSteps};

    TaskIdList ids;
    Point point = action.start;
    AppendTouch(ids, slot, point, delayMs, true);
    for (int i = 1; i < kSwipeSteps; ++i) {
        point.x += step.x;
        point.y += step.y;
        AppendTouch(ids, slot, point, at(i), true);
    }
    int64_t liftStep = kSwipeSteps;
    if (action.noSettle == 0) {
        AppendTouch(ids, slot, action.end, at(liftStep), true);
        ++liftStep;
    }
    AppendTouch(ids, slot, action.end, at(liftStep), false);
    PostSlotRelease(static_cast<uint32_t>(slot), at(liftStep));
    if (wakeup != nullptr) PostWakeup(*wakeup, at(liftStep));
    return ids;
}

TaskIdList Dispatcher::PlaySwipeTrace(const SwipeTraceAction& action, int32_t delayMs) {
    const std::vector<Point>& points = action.points;
    if (points.empty()) {
        log_.Write("Cannot play a swipe trace without points");
        return {};
    }
    const int32_t slot = AcquireSlot();
    if (slot == kNoSlot) {
        LogNoFreeSlot();
        return {};
    }
    const auto at = [&](int64_t index) { return SequenceDelay(delayMs + index * kTracePointStepMs); };

    TaskIdList ids;
    AppendTouch(ids, slot, points.front(), 0, true);  // the finger goes down at once, whatever the delay
    for (size_t i = 1; i < points.size(); ++i) AppendTouch(ids, slot, points[i], at(static_cast<int64_t>(i)), true);
    auto liftIndex = static_cast<int64_t>(points.size());
    if (action.noSettle == 0) {
        AppendTouch(ids, slot, points.back(), at(liftIndex), true);
        ++liftIndex;
    }
    AppendTouch(ids, slot, points.back(), at(liftIndex), false);
    PostSlotRelease(static_cast<uint32_t>(slot), at(liftIndex));
    return ids;
}

TaskIdList Dispatcher::PlayPinch(const PinchAction& action, int32_t delayMs, Platform::Event* wakeup, bool fast) {
    const Point centre = action.point;
    const bool in = action.in != 0;
    // "In" spreads the fingers apart, "Out" brings them together.
    SwipeAction first({std::max(centre.x - action.split, 0.0f), centre.y}, in ? kSwipeLeft : kSwipeRight);
    SwipeAction second({std::min(centre.x + action.split, 1.0f), centre.y}, in ? kSwipeRight : kSwipeLeft);
    for (SwipeAction* finger : {&first, &second}) {
        finger->duration = action.duration;
        finger->length = in ? action.lengthIn : action.lengthOut;
        finger->noSettle = 1;
        finger->stepTime = fast ? kFastPinchStepMs : 0;
    }
    TaskIdList ids = PlaySwipe(first, delayMs, nullptr);
    const TaskIdList secondIds = PlaySwipe(second, delayMs, wakeup);
    ids.append(secondIds);
    return ids;
}

TaskIdList Dispatcher::PlayTapsMacro(const TapsMacroAction& action, int32_t delayMs) {
    if (action.taps.empty()) return {};
    const int32_t slot = AcquireSlot();
    if (slot == kNoSlot) {
        LogNoFreeSlot();
        return {};
    }
    int64_t repeat = std::max(action.repeat, 0);
    const auto taps = static_cast<int64_t>(action.taps.size());
    if (repeat > 1 && repeat * taps > kMostMacroTaps) {
        repeat = std::max<int64_t>(kMostMacroTaps / taps, 1);
        log_.Write("Cannot repeat a taps macro %d times: it plays %d times", action.repeat, static_cast<int>(repeat));
    }

    TaskIdList ids;
    int64_t t = delayMs;
    for (int64_t round = 0; round < repeat; ++round) {
        for (const TapsMacroAction::Tap& tap : action.taps) {
            AppendTouch(ids, slot, tap.point, SequenceDelay(t), true);
            AppendTouch(ids, slot, tap.point, SequenceDelay(t + kMacroTapHoldMs), false);
            t += kMacroTapHoldMs + int64_t{tap.pause};
        }
    }
    ids.push_back(PostSlotRelease(static_cast<uint32_t>(slot), SequenceDelay(t)));
    return ids;
}

TaskIdList Dispatcher::PlayTapCancel(const TapCancelAction& action, Point& point, int32_t slot, int32_t stepTimeMs) {
    if (slot == kNoSlot) return {};
    const Point step{(action.point.x - point.x) / kCancelGlideSteps, (action.point.y - point.y) / kCancelGlideSteps};
    for (int i = 0; i < kCancelGlideSteps; ++i) {
        point.x += step.x;
        point.y += step.y;
        PlayTouch(point, slot, SequenceDelay(int64_t{i} * stepTimeMs), true);
    }
    PlayTouch(point, slot, SequenceDelay(int64_t{kCancelGlideSteps} * stepTimeMs), false);  // lifts and frees the slot
    return {};
}

}  // namespace Keyweave
