#pragma once
// The six knobs that shape the host's emulated swipes and pinches. The engine
// holds one set; every keymap load starts from the defaults below, and the
// "# SWIPE_PINCH" directive of a keymap may override them for that keymap.

#include <cstdint>

namespace Keyweave {

struct EmulationKnobs {
    float swipeLength = 0.2f;      // fraction of the screen
    uint32_t swipeDuration = 100;  // ms
    float pinchSplit = 0.2f;       // half the distance between the two fingers
    float pinchLengthIn = 0.1f;    // fraction of the screen each finger travels
    float pinchLengthOut = 0.1f;
    int32_t pinchDuration = 50;  // ms

    friend bool operator==(const EmulationKnobs&, const EmulationKnobs&) = default;
};

}  // namespace Keyweave
