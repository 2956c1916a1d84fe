#pragma once
// Delays of timed sequences are the caller's delay plus step offsets that come
// from keymap values (durations, pauses, glide times). They are summed in 64
// bits and saturate at the limits of the scheduler's 32-bit delay instead of
// wrapping, so an absurd keymap value plays late rather than in the past.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace Keyweave {

[[nodiscard]] inline int32_t SequenceDelay(int64_t ms) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(ms, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace Keyweave
