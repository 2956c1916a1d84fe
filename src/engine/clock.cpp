#include "engine/clock.h"

#include "platform/platform.h"

namespace Keyweave {

Millis SystemClock::Now() const { return Platform::MonotonicMs(); }

}  // namespace Keyweave
