#pragma once
// The touch frame: one TouchPoint per slot, index = slot number = the finger's
// identity. The engine allocates it once (16 entries, zero-filled); the
// dispatcher and the scroll and zoom gestures share it and always report it
// whole to the host's touch callback.

#include <array>
#include <cstdint>

#include "keyweave/keyweave.h"

namespace Keyweave {

using TouchPoint = KeyweaveTouchPoint;
static_assert(sizeof(TouchPoint) == 12, "the host reads 12-byte contacts");

inline constexpr uint32_t kTouchPointCount = KEYWEAVE_TOUCH_POINTS;
using TouchFrame = std::array<TouchPoint, kTouchPointCount>;
static_assert(sizeof(TouchFrame) == 192, "the host reads 16 contacts back to back");

}  // namespace Keyweave
