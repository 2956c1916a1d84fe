#pragma once
// Records of the key-driven touch actions: taps, swipes, the direction pad,
// pinches, macros, and the records that only carry a point.

#include <vector>

#include "actions/action.h"
#include "base/clock.h"
#include "codes/task_id.h"

namespace Keyweave {

// Direction words of swipes: 1 up, 2 down, 3 left, 4 right.
enum SwipeDirection : uint32_t { kSwipeUp = 1, kSwipeDown = 2, kSwipeLeft = 3, kSwipeRight = 4 };

// A point with a radius: the custom screen centre of "# SCREEN_CENTER_CUSTOM".
class ScreenAction final : public Action {
public:
    ScreenAction(Point p, float r) : Action(ActionType::kScreenAction), point(p), radius(r) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;
    float radius;
};

// Sends a scan-code word (up to four bytes, most significant first).
class KeyAction final : public Action {
public:
    static constexpr uint32_t kUnknownKey = 0xFFFFFFFFu;
    explicit KeyAction(uint32_t code) : Action(ActionType::kKeyAction), keyCode(code) {}
    [[nodiscard]] std::string Describe() const override;
    uint32_t keyCode;
};

class TapAction final : public Action {
public:
    explicit TapAction(Point p) : Action(ActionType::kTapAction), point(p) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;
};

// Each key event is a complete tap of its own point: `point` on press, `point2` on release.
class TapTapAction final : public Action {
public:
    TapTapAction(Point first, Point second) : Action(ActionType::kTapTapAction), point(first), point2(second) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;
    Point point2;
};

class SwipeAction final : public Action {
public:
    SwipeAction(Point start, uint32_t dir) : Action(ActionType::kSwipeAction), point(start), direction(dir) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;             // start
    uint32_t direction;      // SwipeDirection
    int32_t duration = 100;  // ms
    float length = 0.2f;     // fraction of the screen
    uint8_t noSettle = 1;    // 1: no extra touch at the end point before the lift
    uint32_t stepTime = 0;   // ms between steps; 0: duration / 8
};

class SwipeActionXY final : public Action {
public:
    SwipeActionXY(Point from, Point to) : Action(ActionType::kSwipeActionXY), start(from), end(to) {}
    [[nodiscard]] std::string Describe() const override;
    Point start;
    Point end;
    int32_t duration = 100;  // ms
    uint8_t noSettle = 1;
};

class SwipeTraceAction final : public Action {
public:
    SwipeTraceAction() : Action(ActionType::kSwipeTraceAction) {}
    [[nodiscard]] std::string Describe() const override;
    std::vector<Point> points;  // in written order
    uint8_t noSettle = 1;
};

// One key of the combined direction pad.
class SwipeHoldAction final : public Action {
public:
    // Direction masks: 1 up, 2 down, 4 left, 8 right.
    static constexpr uint32_t kMaskUp = 1, kMaskDown = 2, kMaskLeft = 4, kMaskRight = 8;

    // `direction` is a swipe direction (1..4); any other leaves mask and axis 0.
    SwipeHoldAction(Point centre, uint32_t direction, float radiusFraction, uint32_t glide);
    [[nodiscard]] std::string Describe() const override;

    Point point;  // centre
    uint32_t directionMask = 0;
    Point currentPoint;             // = centre
    Point lastPoint{-1.0f, -1.0f};  // run time: where the pad finger is, (-1, -1) when up
    float radius;                   // fraction of the screen width
    uint32_t changed = 0;           // run time: this event changed the pad's mask
    int32_t axis = 0;               // -1 up, 1 down, -2 left, 2 right
    uint32_t glideTime;             // ms
    TaskIdList taskIds;             // run time: the pad's latest sequence
    Millis releaseTime = 0;         // run time: when the pad's keys were all released
};

// Never read from a keymap: emulated pinches build it.
class PinchAction final : public Action {
public:
    PinchAction(Point centre, bool pinchIn) : Action(ActionType::kPinchAction), point(centre), in(pinchIn ? 1 : 0) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;             // centre
    uint8_t in;              // 1: "In" spreads the fingers apart; 0: "Out" brings them together
    int32_t duration = 100;  // ms
    float split = 0.2f;      // half the distance between the fingers
    float lengthIn = 0.1f;
    float lengthOut = 0.1f;
};

// The point a held finger glides to when the action cancels it.
class TapCancelAction final : public Action {
public:
    explicit TapCancelAction(Point p) : Action(ActionType::kTapCancelAction), point(p) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;
};

class TouchMoveAction final : public Action {
public:
    explicit TouchMoveAction(Point p) : Action(ActionType::kTouchMoveAction), point(p) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;
};

class TapsMacroAction final : public Action {
public:
    struct Tap {
        Point point;
        int32_t pause = 0;  // ms after the tap's lift
    };
    TapsMacroAction() : Action(ActionType::kTapsMacroAction) {}
    [[nodiscard]] std::string Describe() const override;
    std::vector<Tap> taps;  // in written order
    int32_t repeat = 1;
};

}  // namespace Keyweave
