#pragma once
// The game-pad subsystem's own reference to the active configuration.
//
// Game-pad reports and tick threads read the configuration while the host's
// thread may be replacing it. Loading withdraws the reference (null) under the
// game-pad lock before it destroys the old configuration, and hands the new
// one over under the same lock when it is complete. Readers hold the lock for
// as long as they act on what they read; key routing and action execution may
// run inside it, so their locks nest inside this one (it is re-entrant).

#include <mutex>

#include "config/config.h"
#include "platform/platform.h"

namespace Keyweave::GamePad {

class ActiveConfiguration {
public:
    void Set(Config* config) {
        std::lock_guard guard(lock_);
        config_ = config;
    }

    // Runs `body(Config*)` (null while no configuration is handed over) with
    // the game-pad lock held, and returns what it returns.
    template <typename Body>
    decltype(auto) With(Body&& body) {
        std::lock_guard guard(lock_);
        return body(config_);
    }

private:
    Platform::RecursiveLock lock_;
    Config* config_ = nullptr;  // guarded by lock_; not owned
};

}  // namespace Keyweave::GamePad
