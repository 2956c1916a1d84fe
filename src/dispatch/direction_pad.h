#pragma once
// The state of the combined direction pad.
//
// Every swipe-hold key of every keymap steers one finger on the pad slot
// (15). The pad keeps its own copy of the swipe-hold record that started the
// current gesture (centre, radius, glide time), the union of the direction
// masks of the keys held now and a count of the key events that changed it.
// The dispatcher holds exactly one of these; a keymap load leaves it alone, so
// a gesture held across a load goes on steering the same finger.
//
// Threads: Dispatcher::PlaySwipeHold holds `lock` for its whole run,
// including its wait for the pad's previous sequence; every other field is
// read and written only under it.

#include <cstdint>
#include <memory>

#include "actions/touch_actions.h"
#include "platform/platform.h"

namespace Keyweave {

struct DirectionPadState {
    // Serialises the pad's events across input threads; nothing that runs
    // inside a pad step plays the pad again.
    Platform::Lock lock;

    // The gesture's own copy of a swipe-hold record: its directionMask is the
    // pad's mask, lastPoint where the finger is ((-1, -1) while it is up),
    // taskIds the pad's latest sequence, releaseTime when the last key went up.
    // Null until the first swipe-hold event and after a gesture is discarded.
    std::unique_ptr<SwipeHoldAction> padAction KEYWEAVE_GUARDED_BY(lock);
    uint32_t padMask KEYWEAVE_GUARDED_BY(lock) = 0;  // directions held now
    int32_t padHeld KEYWEAVE_GUARDED_BY(lock) = 0;   // presses minus releases that changed the pad
};

}  // namespace Keyweave
