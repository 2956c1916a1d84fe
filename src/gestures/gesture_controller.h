#pragma once
// The host's touch-pad scroll and pinch, played on the guest as one finger
// (scroll) or two fingers (zoom).
//
// The controller writes entries 0 and 1 of the shared touch frame itself and
// reports at once on the calling thread: no scheduler, no slot pool, no keymap.
// A scroll report carries one contact (entry 0), a zoom report two (entries 0
// and 1); the rest of the frame is never touched. Entries 0 and 1 are also the
// dispatcher's first two pool slots, so the host is expected not to scroll or
// zoom while keymap touches are down.
//
// Threads: the gesture exports call in from any host thread, one at a time;
// the gesture state belongs to whoever is gesturing. The entries are written
// under the frame lock that the dispatcher's tasks and resets take too, so a
// keymap load or a due touch on another thread never meets half a write. A call
// that does not fit the current gesture is refused with a "Cannot ..." line
// naming that gesture, and reports nothing.

#include <cstdint>

#include "base/log.h"
#include "dispatch/touch_frame.h"
#include "keyweave/keyweave.h"
#include "platform/platform.h"

namespace Keyweave {

class GestureController {
public:
    // The values are the ones the refusal lines print.
    enum class Gesture : int32_t { None = 0, Scroll = 1, Zoom = 2 };

    // `points` is the shared frame (not owned) with `count` entries; the
    // gestures use only the first two. The touch callback receives `touchContext`.
    GestureController(TouchPoint* points, uint32_t count, Platform::Lock& frameLock, KeyweaveTouchCallback touch,
                      void* touchContext, const Log& log);

    GestureController(const GestureController&) = delete;
    GestureController& operator=(const GestureController&) = delete;

    // Each call returns false when it did nothing (its "Cannot" line says why).
    // One finger goes down at (x, y).
    bool ScrollBegin(float x, float y);
    // The finger moves by (dx, dy); it may leave the screen, nothing is
    // clamped. A move to where a float cannot follow (a sum that is not
    // finite) is refused with a "Cannot update scroll" line, as is a scale
    // that takes a zoom finger there.
    bool ScrollUpdate(float dx, float dy);
    // The finger lifts; entry 0 becomes all zero.
    bool ScrollEnd();

    // Two fingers go down 0.4 apart on a horizontal line centred on (x, y).
    bool ZoomBegin(float x, float y);
    // `scale` is the new finger distance over the current one; the centre stays.
    bool ZoomUpdate(float scale);
    // Both fingers lift; entries 0 and 1 become all zero.
    bool ZoomEnd();

    [[nodiscard]] Gesture CurrentGesture() const { return gesture_; }

private:
    // Hands the first `contacts` entries of the frame to the host.
    void Report(uint32_t contacts) const;
    [[nodiscard]] int32_t GestureNumber() const { return static_cast<int32_t>(gesture_); }

    // Writes the first `contacts` entries of the frame under the frame lock.
    void Write(const TouchPoint* entries, uint32_t contacts);

    TouchPoint* points_ KEYWEAVE_PT_GUARDED_BY(frameLock_);  // the shared frame; entries 0 and 1 are written here
    [[maybe_unused]] uint32_t count_;                        // kept for reference; every gesture fits in two entries
    Platform::Lock& frameLock_;
    KeyweaveTouchCallback touch_;
    void* touchContext_;
    const Log& log_;
    Gesture gesture_ = Gesture::None;  // written by the gesture calls only
};

}  // namespace Keyweave
