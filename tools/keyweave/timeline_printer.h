#pragma once
// The timeline as text for people, or as JSON lines for programs: one event a
// line, in the order the host received them. Positions are in percent of the
// screen (as keymaps write them), two decimals; sensor vectors four decimals.
//
// Text:  "    12  touch    slot  0 move  50.00  76.67"
// JSON:  {"time":12,"event":"touch","slot":0,"state":"move","x":50.00,"y":76.67}

#include <string>

#include "keyweave/timeline.h"

namespace Keyweave::Tool {

std::string EventText(const TimelineEvent& event);
std::string EventJson(const TimelineEvent& event);

// The state word of a touch event: "down" (it touched), "move" (it was down
// and moved), "up" (it lifted), "lifted" (a lifted contact was moved).
const char* TouchState(const TimelineEvent& event);

// Text inside a JSON string: quotes, backslashes and control characters
// escaped.
std::string JsonEscape(const std::string& text);

}  // namespace Keyweave::Tool
