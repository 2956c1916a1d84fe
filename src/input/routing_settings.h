#pragma once
// The two switches the host sets for key routing: the key mapping state
// (only 1 means mapping on) and whether unmapped host-keyboard keys are
// forwarded to the guest as raw scan codes.
//
// Set by the host's threads, read by whichever thread routes a key (host
// input or a game-pad thread), hence atomics. A keymap load leaves both alone.

#include <atomic>
#include <cstdint>

namespace Keyweave {

struct RoutingSettings {
    std::atomic<int32_t> keyMappingState{1};
    std::atomic<bool> forwardRawKeys{true};

    [[nodiscard]] bool MappingOn() const { return keyMappingState.load(std::memory_order_relaxed) == 1; }
    [[nodiscard]] bool ForwardRawKeys() const { return forwardRawKeys.load(std::memory_order_relaxed); }
};

}  // namespace Keyweave
