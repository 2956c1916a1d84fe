#pragma once
// The one published reference to the active keymap, and the game-pad lock.
//
// Every reader reaches the active keymap here. Loading withdraws it (null)
// under the lock before it destroys the old keymap, and publishes the new one
// under the same lock, once, when it is complete. Two kinds of reader:
//  - the game-pad threads and the emulated gestures hold the lock (With) for
//    as long as they act on what they read; key routing and action execution
//    run inside it, so their locks nest inside this one;
//  - the host's input thread, the only one that loads keymaps, reads Current()
//    without the lock: nothing replaces the keymap under its feet.
// The empty keymap made at start is not the game pads': With() hands them
// none (null) until the first load has published one.

#include <atomic>

#include "config/config.h"
#include "platform/platform.h"

namespace Keyweave::GamePad {

class ActiveConfiguration {
public:
    Platform::Lock& lock() KEYWEAVE_RETURN_CAPABILITY(lock_) { return lock_; }

    // The empty keymap of the start, for the host's input alone: With()
    // hands over none until the first Set.
    void Start(Config* empty) KEYWEAVE_REQUIRES(lock_) { config_.store(empty, std::memory_order_release); }
    // Publishes `config` to every reader (null withdraws the active keymap).
    void Set(Config* config) KEYWEAVE_REQUIRES(lock_) {
        config_.store(config, std::memory_order_release);
        loaded_ = true;
    }

    // The keymap published now; null while a load replaces it. It stays
    // while the caller holds lock(), or runs on the host's input thread.
    [[nodiscard]] Config* Current() const { return config_.load(std::memory_order_acquire); }

    // Runs `body(Config*)` with the lock held, and returns what it returns;
    // the keymap is null before the first load and while a load replaces it.
    template <typename Body>
    decltype(auto) With(Body&& body) KEYWEAVE_EXCLUDES(lock_) {
        Platform::LockGuard guard(lock_);
        return body(loaded_ ? Current() : nullptr);
    }

private:
    Platform::Lock lock_;
    std::atomic<Config*> config_{nullptr};  // written under lock_ only (Set); not owned
    bool loaded_ KEYWEAVE_GUARDED_BY(lock_) = false;
};

}  // namespace Keyweave::GamePad
