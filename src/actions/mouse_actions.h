#pragma once
// Records of the mouse-driven actions: the engine's own mouse record, mouse
// swipes and holds, tap-swipes, and the two shooting modes.

#include <vector>

#include "actions/action.h"
#include "base/clock.h"
#include "codes/task_id.h"

namespace Keyweave {

// Never read from a keymap: the engine's runtime mouse action.
class MouseAction final : public Action {
public:
    MouseAction() : Action(ActionType::kMouseAction) {}
    [[nodiscard]] std::string Describe() const override;
    uint32_t eventData = 0;  // run time: data word of the last mouse event
    uint8_t leftDown = 0;    // run time: the left button is down
    int32_t delay = 0;       // run time: delay of its next touch, ms
};

// A right-button drag played as a swipe from the centre towards the pointer.
class MouseSwipeAction final : public Action {
public:
    MouseSwipeAction(int32_t radiusPercent, Point centre)
        : Action(ActionType::kMouseSwipeAction), radius(radiusPercent), point(centre), currentPoint(centre) {}
    [[nodiscard]] std::string Describe() const override;
    int32_t radius;             // percent
    Point point;                // centre
    Point currentPoint;         // run time: the last point played
    TaskIdList taskIds;         // run time: the latest sequence
    uint32_t lastMessage = 0;   // run time
    Millis rightPressTime = 0;  // run time: when the right button went down
};

// A finger that follows the pointer while it stays inside a rectangle.
class MouseHoldAction final : public Action {
public:
    MouseHoldAction(Point topLeft, Point bottomRight)
        : Action(ActionType::kMouseHoldAction), point(topLeft), point2(bottomRight) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;       // left, top
    Point point2;      // right, bottom
    uint8_t held = 0;  // run time
};

class TapSwipeAction final : public Action {
public:
    TapSwipeAction(Point centre, float r, bool forceToCircle)
        : Action(ActionType::kTapSwipeAction),
          point(centre),
          currentPoint(centre),
          radius(r),
          force(forceToCircle ? 1 : 0) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;               // centre
    Point currentPoint;        // run time: the last point played
    float radius;              // as written
    Millis pressTime = 0;      // run time
    int32_t lastMessage = -1;  // run time; -1 when idle
    uint8_t force;             // the point always lands on the circle
};

class TapSwipeClickAction final : public Action {
public:
    TapSwipeClickAction(Point centre, int32_t r)
        : Action(ActionType::kTapSwipeClickAction), point(centre), radius(r), currentPoint(centre) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;               // centre
    int32_t radius;            // the written value truncated toward zero
    Point currentPoint;        // run time
    Millis pressTime = 0;      // run time
    int32_t lastMessage = -1;  // run time
    uint8_t force = 0;
};

// Mouse-look with one finger.
class ShootMoveAction final : public Action {
public:
    ShootMoveAction(Point origin, float s)
        : Action(ActionType::kShootMoveAction), point(origin), currentPoint(origin), sensitivity(s) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;         // origin
    Point currentPoint;  // run time
    float sensitivity;
};

// How mouse-look with a fire finger plays; the value is the number of its
// "# SHOOTING_MODE_n" directive.
enum class ShootingMode : uint32_t {
    kLook = 1,            // the look finger follows the mouse; the fire finger only taps
    kFireFingerAims = 2,  // while firing, the look finger lifts and the fire finger follows the mouse
    kSlowedAim = 3,       // moves slow down away from the resting finger; while firing the fire finger
                          // follows the mouse, and the look finger goes on from where it was after
    kRecentreAtEdge = 4,  // a look finger that would leave the screen lifts and starts again at rest
};

// Mouse-look with a look finger and a fire finger.
class ShootModeAction final : public Action {
public:
    ShootModeAction(Point origin, Point fire, ShootingMode mode, float s)
        : Action(ActionType::kShootModeAction),
          point(origin),
          currentPoint(origin),
          point2(fire),
          savedPoint(origin),
          modeType(mode),
          sensitivity(s) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;         // origin, where the look finger rests
    Point currentPoint;  // run time
    Point point2;        // fire point
    Point savedPoint;    // run time
    ShootingMode modeType;
    int32_t lookSlot = -1;  // run time
    int32_t fireSlot = -1;  // run time
    float sensitivity;
    int32_t lastMessage = 0;  // run time
    TaskIdList taskIds;       // run time: the latest sequence
};

// Pauses shooting while its key is held.
class SuspendShootAction final : public Action {
public:
    SuspendShootAction() : Action(ActionType::kSuspendShootAction) {}
    [[nodiscard]] std::string Describe() const override;
};

}  // namespace Keyweave
