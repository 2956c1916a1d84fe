#pragma once
// Directions of a stick or the hat as presses and releases of control codes.
//
// A direction is held while its axis is beyond a threshold: half way for a
// stick, anything off centre for the hat. Comparing an axis with its value
// before the latest report gives at most two edges per axis; the vertical
// axis comes first, and on each axis the release of the negative direction
// (up, left) comes before the positive direction's edge, which comes before
// the press of the negative one. So a jump from one side to the other in one
// report releases the old direction before it presses the new one.

#include <cstdint>
#include <vector>

#include "codes/control_codes.h"

namespace Keyweave::GamePad {

struct DirectionCodes {
    uint32_t up;
    uint32_t down;
    uint32_t left;
    uint32_t right;
};

inline constexpr DirectionCodes kHatDirections{kHatUp, kHatDown, kHatLeft, kHatRight};
inline constexpr DirectionCodes kLeftStickDirections{kLeftStickUp, kLeftStickDown, kLeftStickLeft, kLeftStickRight};

// Stick units (thousandths of full deflection): a stick direction is held
// beyond half way. The hat is -1, 0 or +1, so any value off centre holds one.
inline constexpr int32_t kStickDirectionThreshold = 500;
inline constexpr int32_t kHatDirectionThreshold = 0;

struct Edge {
    uint32_t code;
    bool pressed;
    friend bool operator==(const Edge&, const Edge&) = default;
};

// The edges between (previousX, previousY) and (x, y), in routing order.
[[nodiscard]] std::vector<Edge> DirectionEdges(int32_t x, int32_t y, int32_t previousX, int32_t previousY,
                                               int32_t threshold, const DirectionCodes& codes);

}  // namespace Keyweave::GamePad
