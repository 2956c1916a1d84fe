#pragma once
// Scheduler task identifiers, returned by every sequence and kept to cancel or
// await it.

#include <cstdint>
#include <vector>

namespace Keyweave {

using TaskId = uint32_t;
using TaskIdList = std::vector<TaskId>;

}  // namespace Keyweave
