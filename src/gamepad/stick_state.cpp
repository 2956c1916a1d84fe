#include "gamepad/stick_state.h"

#include <mutex>

namespace Keyweave::GamePad {

void StickState::Publish(const PadState& state) {
    std::lock_guard guard(lock_);
    latest_ = state;
}

PadState StickState::Latest() const {
    std::lock_guard guard(lock_);
    return latest_;
}

Sticks StickState::ReadSticks() const {
    std::lock_guard guard(lock_);
    return {latest_.leftX, latest_.leftY, latest_.rightX, latest_.rightY};
}

}  // namespace Keyweave::GamePad
