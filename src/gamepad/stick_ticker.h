#pragma once
// The tick of one attached pad: every 4 ms it hands the latest positions of
// both sticks to the action layer, so that a stick held off centre keeps
// driving a virtual joystick between reports.
//
// A stick off centre is sent every cycle with its off-centre phase; when it
// comes back it is sent once more, as (0, 0) with its centred phase, and then
// not again until it leaves the centre. While no game-pad configuration is
// active nothing is sent and the phases stay as they are. Each cycle ends by
// checking that the pad is still ticking; once detach has taken it out of the
// tick table, the cycle logs the stop line and the ticker has ended.
//
// Who runs the cycles: in production the pad's own thread
// (KeyweaveGamePadStickTick), sleeping one period after each cycle; on a
// manual clock the runtime's RunTickCycle, once per period of manual time.
// Either way one thread at a time runs a ticker's cycles, and it holds no
// game-pad or stick-state lock while it sends.

#include <atomic>
#include <cstdint>
#include <functional>

#include "base/log.h"
#include "gamepad/active_configuration.h"
#include "gamepad/routing.h"
#include "gamepad/stick_state.h"

namespace Keyweave::GamePad {

inline constexpr uint32_t kTickPeriodMs = 4;

// Stick phases, as the action layer's stick events take them.
inline constexpr int32_t kLeftStickCentred = 5;
inline constexpr int32_t kLeftStickOffCentre = 6;
inline constexpr int32_t kRightStickCentred = 3;
inline constexpr int32_t kRightStickOffCentre = 4;

class StickTicker {
public:
    // True while `ticker` is still in the tick table.
    using StillTicking = std::function<bool(const StickTicker& ticker)>;

    StickTicker(int32_t id, const StickState& sticks, ActiveConfiguration& configuration, Routing& routing,
                const Log& log, StillTicking stillTicking);

    StickTicker(const StickTicker&) = delete;
    StickTicker& operator=(const StickTicker&) = delete;

    [[nodiscard]] int32_t id() const { return id_; }

    // The line a tick logs when it starts.
    void Begin() const;
    // One cycle. False once the pad has left the tick table: the stop line
    // is logged and the ticker has ended; later calls do nothing.
    bool Cycle();
    [[nodiscard]] bool Ended() const { return ended_.load(std::memory_order_acquire); }

private:
    void SendStick(uint32_t stick, int32_t x, int32_t y, int32_t centred, int32_t offCentre, int32_t& phase);

    const int32_t id_;
    const StickState& sticks_;
    ActiveConfiguration& configuration_;
    Routing& routing_;
    const Log& log_;
    const StillTicking stillTicking_;
    // Touched only by the one thread that runs the cycles.
    int32_t leftPhase_ = kLeftStickCentred;
    int32_t rightPhase_ = kRightStickCentred;
    std::atomic<bool> ended_{false};
};

// Body of a pad's tick thread; `ticker` is its StickTicker, which outlives
// the thread. Returns once the pad has been detached.
void KeyweaveGamePadStickTick(void* ticker);

}  // namespace Keyweave::GamePad
