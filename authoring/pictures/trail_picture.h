#pragma once
// The picture of a played script (keyweave play --svg): every finger's trail
// over the guest screen, from where it touched to where it lifted, one colour
// per touch slot, each trail labelled with its slot and its time span.
//
// Each trail is one <g class="trail"> element with data-slot, data-from and
// data-to (ms).

#include <string>
#include <vector>

#include "common/screen_size.h"
#include "timeline/timeline.h"

namespace Keyweave::Tool {

struct TrailPoint {
    int64_t time;
    float x, y;  // fractions of the screen
};

struct Trail {
    int32_t slot;
    std::vector<TrailPoint> points;  // the touch, every move, and the lift (if it came)
    bool lifted = false;
};

// The trails of the touch events, in the order the fingers touched.
[[nodiscard]] std::vector<Trail> CollectTrails(const std::vector<TimelineEvent>& events);

[[nodiscard]] std::string DrawTrails(const std::vector<Trail>& trails, ScreenSize screen, const std::string& title);

}  // namespace Keyweave::Tool
