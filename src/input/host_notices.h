#pragma once
// The two host callbacks that input handling calls itself: the shooting-mode
// callback and the mouse pass-through callback. Either may be null.

#include <cstdint>

#include "keyweave/keyweave.h"

namespace Keyweave {

class ShootingModeCallback {
public:
    // The codes the host receives.
    static constexpr int32_t kEnded = 0;
    static constexpr int32_t kStarted = 1;
    static constexpr int32_t kQuery = 3;

    ShootingModeCallback(KeyweaveShootingModeCallback callback, void* context)
        : callback_(callback), context_(context) {}

    // Shooting mode started or ended; the host's answer is ignored.
    void Started() const { Call(kStarted); }
    void Ended() const { Call(kEnded); }
    // Asked before a mouse event drives a shooting action: the action plays
    // only on a non-zero answer. A host without the callback cannot object,
    // so the answer is yes.
    [[nodiscard]] bool AllowsShooting() const { return callback_ == nullptr || callback_(context_, kQuery) != 0; }

private:
    void Call(int32_t code) const {
        if (callback_ != nullptr) callback_(context_, code);
    }

    KeyweaveShootingModeCallback callback_;
    void* context_;
};

class PassThroughCallback {
public:
    PassThroughCallback(KeyweaveMousePassThroughCallback callback, void* context)
        : callback_(callback), context_(context) {}
    // A mouse move that the keymap did not use.
    void Call() const {
        if (callback_ != nullptr) callback_(context_);
    }

private:
    KeyweaveMousePassThroughCallback callback_;
    void* context_;
};

}  // namespace Keyweave
