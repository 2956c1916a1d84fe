#pragma once
// The production clock: the system's monotonic time.

#include "base/clock.h"

namespace Keyweave {

class SystemClock final : public Clock {
public:
    [[nodiscard]] Millis Now() const override;
    [[nodiscard]] uint64_t NowMicros() const override;
};

}  // namespace Keyweave
