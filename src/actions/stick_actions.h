#pragma once
// Records of the virtual joysticks driven by game-pad sticks. Unlike every
// other record, their points and radius are in hundredths of a percent
// (0 to 10000), the written value multiplied by 100.

#include "actions/action.h"
#include "codes/control_codes.h"

namespace Keyweave {

class StickHoldAction final : public Action {
public:
    StickHoldAction(Point centre, float r, float s)
        : Action(ActionType::kStickHoldAction),
          point(centre),
          currentPoint(centre),
          lastPoint(centre),
          radius(r),
          sensitivity(s) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;  // centre
    Point currentPoint;
    Point lastPoint;
    float radius;
    float sensitivity;
    uint32_t control = GamePad::kLeftStick;
};

class StickMoveAction final : public Action {
public:
    StickMoveAction(Point start, float s)
        : Action(ActionType::kStickMoveAction), point(start), currentPoint(start), lastPoint(start), sensitivity(s) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;  // start
    Point currentPoint;
    Point lastPoint;
    float sensitivity;
    uint32_t control = GamePad::kRightStick;
};

class TapStickAction final : public Action {
public:
    TapStickAction(Point centre, float r, float s)
        : Action(ActionType::kTapStickAction),
          point(centre),
          currentPoint(centre),
          lastPoint(centre),
          radius(r),
          sensitivity(s) {}
    [[nodiscard]] std::string Describe() const override;
    Point point;  // centre
    Point currentPoint;
    Point lastPoint;  // run time: the point reported last, where a tap-cancel starts
    float radius;
    float sensitivity;
    uint32_t control = GamePad::kRightStick;
};

}  // namespace Keyweave
