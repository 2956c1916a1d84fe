#pragma once
// Records that tilt the virtual accelerometer.

#include "actions/action.h"

namespace Keyweave {

class AbsoluteTiltAction final : public Action {
public:
    AbsoluteTiltAction(float pitchDegrees, float rollDegrees, bool backToLevel)
        : Action(ActionType::kAbsoluteTiltAction),
          pitch(pitchDegrees),
          roll(rollDegrees),
          returnToLevel(backToLevel ? 1 : 0) {}
    [[nodiscard]] std::string Describe() const override;
    float pitch;  // degrees
    float roll;   // degrees
    uint8_t returnToLevel;
};

class RelativeTiltAction final : public Action {
public:
    RelativeTiltAction(float pitchDelta, float rollDelta)
        : Action(ActionType::kRelativeTiltAction), pitch(pitchDelta), roll(rollDelta) {}
    [[nodiscard]] std::string Describe() const override;
    float pitch;  // degrees, added
    float roll;   // degrees, added
};

}  // namespace Keyweave
