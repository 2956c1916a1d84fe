#pragma once
// A decision as one line for people: what the input was, then what the engine
// did with it and why. "R down: no rule in [keys]: passed to the guest as its
// own scan code". Hosts get it beside the fields; keyweave play --explain and
// the Studio print it. The wording may change; the reason names do not.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/decision.h"

namespace Keyweave {

// Writes the line into buffer[0, size), cut to fit and terminated. Only for
// an observer: it builds the line on the heap.
void DescribeDecision(const Decision& decision, char* buffer, size_t size);

// A decision's keys: "R", or "Ctrl+A" for a combination (a modifier leads).
[[nodiscard]] std::string KeysText(const uint32_t keys[2]);

}  // namespace Keyweave
