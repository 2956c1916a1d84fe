#include "gamepad/stick_ticker.h"

#include <utility>

#include "codes/control_codes.h"
#include "config/config.h"
#include "platform/platform.h"

namespace Keyweave::GamePad {

StickTicker::StickTicker(int32_t id, const StickState& sticks, ActiveConfiguration& configuration, Routing& routing,
                         const Log& log, StillTicking stillTicking)
    : id_(id),
      sticks_(sticks),
      configuration_(configuration),
      routing_(routing),
      log_(log),
      stillTicking_(std::move(stillTicking)) {}

void StickTicker::Begin() const { log_.Write("%s (identity:%d)", "Keyweave::GamePad::KeyweaveGamePadStickTick", id_); }

void StickTicker::SendStick(uint32_t stick, int32_t x, int32_t y, int32_t centred, int32_t offCentre, int32_t& phase) {
    const bool atCentre = x == 0 && y == 0;
    if (atCentre && phase == centred) return;  // already told: nothing to send
    phase = atCentre ? centred : offCentre;
    routing_.StickEvent(stick, static_cast<float>(x), static_cast<float>(y), phase);
}

bool StickTicker::Cycle() {
    if (Ended()) return false;
    const bool active = configuration_.With([](Config* config) { return config != nullptr; });
    if (active) {
        const Sticks sticks = sticks_.ReadSticks();
        SendStick(kLeftStick, sticks.leftX, sticks.leftY, kLeftStickCentred, kLeftStickOffCentre, leftPhase_);
        SendStick(kRightStick, sticks.rightX, sticks.rightY, kRightStickCentred, kRightStickOffCentre, rightPhase_);
    }
    if (stillTicking_(*this)) return true;
    log_.Write("Device is detach!  Id:%d stop thread", id_);
    ended_.store(true, std::memory_order_release);
    return false;
}

void KeyweaveGamePadStickTick(void* argument) {
    auto& ticker = *static_cast<StickTicker*>(argument);
    ticker.Begin();
    while (ticker.Cycle()) Platform::SleepMs(kTickPeriodMs);
}

}  // namespace Keyweave::GamePad
