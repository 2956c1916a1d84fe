#include "gamepad/stick_state.h"

namespace Keyweave::GamePad {

void StickState::Publish(const PadState& state) {
    Platform::LockGuard guard(lock_);
    latest_ = state;
}

PadState StickState::Latest() const {
    Platform::LockGuard guard(lock_);
    return latest_;
}

Sticks StickState::ReadSticks() const {
    Platform::LockGuard guard(lock_);
    return {latest_.leftX, latest_.leftY, latest_.rightX, latest_.rightY};
}

}  // namespace Keyweave::GamePad
