#pragma once
// What the engine refuses of the numbers a host passes in, where the
// interface leaves their range to the engine: a number that is not finite, a
// position farther than a screen beyond an edge of the guest screen, a
// negative length or duration, and a duration longer than a person plays
// (an emulated gesture holds its finger and blocks its caller that long).
//
// One line is logged for the first value a call refuses, naming the call and
// the value: "Cannot set emulated swipe knobs: duration 4294967295 ms is over
// 10000 ms". The checks of one call read as a list:
//
//   if (!ArgumentChecks(log_, "emulate swipe").Position("x", x).Position("y", y)) return;

#include <cstdint>

#include "base/log.h"

namespace Keyweave {

// The longest emulated swipe or pinch a host may ask for.
inline constexpr int64_t kLongestGestureMs = 10000;
// Positions are fractions of the guest screen. A pointer dragged out of the
// host's window, or a gesture begun at an edge, may lie a little beyond it;
// farther than a whole screen beyond an edge is a mistake (pixels passed
// for fractions, say).
inline constexpr float kLowestPosition = -1.0f;
inline constexpr float kHighestPosition = 2.0f;

class ArgumentChecks {
public:
    // `call` names the call in the refusal line: "Cannot <call>: ...".
    ArgumentChecks(const Log& log, const char* call) : log_(log), call_(call) {}

    // A number that is not NaN or infinite.
    ArgumentChecks& Finite(const char* name, float value);
    // A finite number from 0 up.
    ArgumentChecks& NotNegative(const char* name, float value);
    // A finite coordinate from kLowestPosition to kHighestPosition.
    ArgumentChecks& Position(const char* name, float value);
    // Milliseconds from 0 to kLongestGestureMs.
    ArgumentChecks& Duration(const char* name, int64_t milliseconds);

    // True when no value was refused.
    explicit operator bool() const { return accepted_; }

private:
    // Logs "Cannot <call>: <name> <reason>" for the first refusal only.
    template <typename... Args>
    ArgumentChecks& Refuse(const char* reason, const Args&... args);

    const Log& log_;
    const char* call_;
    bool accepted_ = true;
};

}  // namespace Keyweave
