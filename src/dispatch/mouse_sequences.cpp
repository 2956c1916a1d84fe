// Sequences that follow the mouse pointer with one finger: the engine's own
// mouse touch, the mouse-held rectangle, the right-button swipe and
// touch-move.
#include <cmath>

#include "dispatch/sequence_delay.h"
#include "dispatch/sequence_steps.h"

namespace Keyweave {

using namespace Sequences;

namespace {

// A quick right-button click lifts after this many milliseconds per
// hundredth of a percent of pointer distance; after a longer press, at once.
constexpr int32_t kQuickLiftMsPerUnit = 4;
constexpr int64_t kQuickClickMs = 150;
// A fresh mouse swipe touches down at its centre after this delay and reaches
// the pointer this much later.
constexpr int32_t kSwipeStartMs = 30;
constexpr int32_t kSwipeReachMs = 50;

bool Inside(Point p, Point topLeft, Point bottomRight) {
    return p.x >= topLeft.x && p.x <= bottomRight.x && p.y >= topLeft.y && p.y <= bottomRight.y;
}

}  // namespace

TaskIdList Dispatcher::PlayMouseTouch(const MouseAction& record) {
    TaskIdList ids;
    AppendTouch(ids, kMouseSlot, MousePosition(), record.delay, record.leftDown != 0);
    return ids;
}

TaskIdList Dispatcher::PlayMouseHold(MouseHoldAction& action, int32_t delayMs) {
    if (!TakeOrKeepSlot(*this, action.slot)) return {};
    const Point mouse = MousePosition();
    TaskIdList ids;
    if (Inside(mouse, action.point, action.point2)) {
        AppendTouch(ids, action.slot, mouse, delayMs, true);
        return ids;
    }
    // Leaving the rectangle lifts the finger where the pointer is; the caller
    // then lifts the mouse slot instead.
    AppendTouch(ids, action.slot, mouse, delayMs, false);
    PostSlotRelease(static_cast<uint32_t>(action.slot), 0);
    action.slot = kNoSlot;
    return {};
}

TaskIdList Dispatcher::PlayMouseSwipe(MouseSwipeAction& action, int32_t delayMs, int32_t event) {
    const MousePlacement target = MousePoint(action.point, static_cast<float>(action.radius), 0.0f, true);
    const Point p = target.point;
    const Millis now = Now();
    TaskIdList ids;
    switch (event) {
        case kRightButtonDown: {
            if (!TakeOrKeepSlot(*this, action.slot)) return {};
            action.rightPressTime = StampOf(now);
            // Pressed again while the last swipe still plays: go on from where it is.
            Point start = action.point;
            int32_t t = kSwipeStartMs;
            if (!scheduler().NonePending(action.taskIds)) {
                start = action.currentPoint;
                scheduler().CancelAll(action.taskIds);
                t = delayMs;
            }
            AppendTouch(ids, action.slot, start, t, true);
            AppendTouch(ids, action.slot, p, SequenceDelay(int64_t{t} + kSwipeReachMs), true);
            action.taskIds = ids;
            action.currentPoint = p;
            action.lastMessage = kRightButtonDown;
            return ids;
        }
        case kRightButtonUp:
            if (action.slot != kNoSlot) {
                if (action.lastMessage == kMouseMove) {
                    AppendTouch(ids, action.slot, p, 0, false);
                } else if (action.lastMessage == kRightButtonDown) {
                    ids = action.taskIds;
                    const bool quick =
                        action.rightPressTime != 0 && MillisSince(now, action.rightPressTime) < kQuickClickMs;
                    const auto lift = quick ? SequenceDelay(std::llround(target.distance * kQuickLiftMsPerUnit)) : 0;
                    AppendTouch(ids, action.slot, p, lift, false);
                    action.taskIds = ids;
                }
            }
            action.rightPressTime = 0;
            action.lastMessage = kRightButtonUp;
            return ids;
        case kMouseMove:
            // Dragged past a click: the finger follows the pointer from now on.
            if (action.slot != kNoSlot && action.rightPressTime != 0 &&
                MillisSince(now, action.rightPressTime) > kQuickClickMs) {
                AppendTouch(ids, action.slot, p, 0, true);
                if (!action.taskIds.empty()) {
                    scheduler().CancelAll(action.taskIds);
                    action.taskIds.clear();
                }
                action.lastMessage = kMouseMove;
            }
            return ids;
        case kTapSwipeKeyPressed:
            // A tap-swipe takes over: the released swipe lets go at once.
            if (action.slot != kNoSlot && action.lastMessage == kRightButtonUp) {
                scheduler().CancelAll(action.taskIds);
                action.taskIds.clear();
                AppendTouch(ids, action.slot, p, 0, false);
            }
            return ids;
        default:
            return ids;
    }
}

TaskIdList Dispatcher::PlayTouchMove(TouchMoveAction& action, int32_t delayMs, int32_t event) {
    TaskIdList ids;
    switch (event) {
        case kKeyDownMessage:
            if (!TakeOrKeepSlot(*this, action.slot)) return {};
            input().RecenterCursor();
            PlayTouchInto(*this, ids, action.point, action.slot, delayMs, true);
            break;
        case kKeyUpMessage:
            if (action.slot != kNoSlot) {
                PlayTouchInto(*this, ids, action.point, action.slot, delayMs, false);
                action.slot = kNoSlot;
            }
            break;
        case kMouseMove:
            if (action.slot != kNoSlot) {
                PlayTouchInto(*this, ids, Plus(action.point, MouseDelta(*this, 1.0f)), action.slot, delayMs, true);
            }
            break;
        default:
            break;
    }
    return ids;
}

}  // namespace Keyweave
