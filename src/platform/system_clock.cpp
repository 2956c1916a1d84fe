#include "platform/system_clock.h"

#include "platform/platform.h"

namespace Keyweave {

Millis SystemClock::Now() const { return Platform::MonotonicMs(); }

uint64_t SystemClock::NowMicros() const { return Platform::MonotonicUs(); }

}  // namespace Keyweave
