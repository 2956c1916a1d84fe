#pragma once
// The timeline as text for people, or as JSON lines for programs: one event a
// line, in the order the host received them. Positions are in percent of the
// screen (as keymaps write them), two decimals; sensor vectors four decimals.
// JSON numbers are rounded to the same digits and written without trailing
// zeros.
//
// Text:  "    12  touch    slot  0 move  50.00  76.67"
// JSON:  {"time":12,"event":"touch","slot":0,"state":"move","x":50.0,"y":76.67}

#include <nlohmann/json_fwd.hpp>
#include <string>

#include "timeline/timeline.h"

namespace Keyweave::Tool {

[[nodiscard]] std::string EventText(const TimelineEvent& event);
[[nodiscard]] nlohmann::ordered_json EventObject(const TimelineEvent& event);
[[nodiscard]] std::string EventJson(const TimelineEvent& event);

// The state word of a touch event: "down" (it touched), "move" (it was down
// and moved), "up" (it lifted), "lifted" (a lifted contact was moved).
[[nodiscard]] const char* TouchState(const TimelineEvent& event);

}  // namespace Keyweave::Tool
