#pragma once
// The latest normalised state of any pad, shared by every pad's tick.
//
// Each report publishes its pad's state here; each tick cycle reads the two
// sticks from it. There is one copy for all pads, so with two pads attached
// every tick sends the sticks of the pad that reported last. The lock is held
// only while the values are copied in or out; nothing else is taken under it.

#include <cstdint>

#include "gamepad/device.h"
#include "platform/platform.h"

namespace Keyweave::GamePad {

struct Sticks {
    int32_t leftX = 0;
    int32_t leftY = 0;
    int32_t rightX = 0;
    int32_t rightY = 0;
};

class StickState {
public:
    void Publish(const PadState& state);
    // Back to all zero: done whenever a device is created.
    void Clear() { Publish(PadState{}); }

    [[nodiscard]] PadState Latest() const;
    [[nodiscard]] Sticks ReadSticks() const;

private:
    mutable Platform::Lock lock_;
    PadState latest_ KEYWEAVE_GUARDED_BY(lock_);
};

}  // namespace Keyweave::GamePad
