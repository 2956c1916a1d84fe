#pragma once
// What the game-pad runtime tests share: a recording stand-in for the engine's
// routing, a game-pad database written to a temporary directory, a report at
// rest, and a bench that wires a runtime to a recording host. What reports
// do on a manual clock is the golden runs of tests/timelines/pad_*.play.

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/text.h"
#include "codes/control_codes.h"
#include "config/config.h"
#include "gamepad/active_configuration.h"
#include "gamepad/routing.h"
#include "gamepad/runtime.h"
#include "platform/platform.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace Keyweave::GamePad::Testing {

using Lines = std::vector<std::string>;

inline std::string Hex(uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "0x" + text;
}

// Every call the runtime makes, as one readable line:
//   "key 57 down pad"       Route(57, true, false)
//   "direct 0x1 up"         DirectAction(0x1, false)
//   "stick left 300,-700 6" StickEvent(kLeftStick, 300, -700, 6)
//   "tilt 500,-500"         Tilt(500, -500)
// Stick coordinates must be whole numbers (they come from integers); anything
// else is written with its fraction so that a comparison shows it.
class FakeRouting final : public Routing {
public:
    void Route(uint32_t keyCode, bool pressed, bool fromHostKeyboard) override {
        Record("key " + std::to_string(keyCode) + (pressed ? " down" : " up") + (fromHostKeyboard ? " host" : " pad"));
    }
    void DirectAction(uint32_t control, bool pressed) override {
        Record("direct " + Hex(control) + (pressed ? " down" : " up"));
    }
    void StickEvent(uint32_t stick, float x, float y, int32_t phase) override {
        const std::string name = stick == kLeftStick ? "left" : stick == kRightStick ? "right" : Hex(stick);
        Record("stick " + name + " " + Number(x) + "," + Number(y) + " " + std::to_string(phase));
        stickSeen.Set();
        if (onStick) onStick();
    }
    void Tilt(int32_t stickX, int32_t stickY) override {
        Record("tilt " + std::to_string(stickX) + "," + std::to_string(stickY));
    }

    // The calls so far, which are then forgotten.
    Lines Take() {
        std::lock_guard guard(mutex_);
        Lines taken;
        taken.swap(calls_);
        return taken;
    }
    Lines Calls() const {
        std::lock_guard guard(mutex_);
        return calls_;
    }

    // Set on every stick event (auto-reset).
    Platform::Event stickSeen;
    // Run after a stick event is recorded, on the calling thread.
    std::function<void()> onStick;

private:
    static std::string Number(float value) {
        const auto whole = static_cast<long long>(value);
        return static_cast<float>(whole) == value ? std::to_string(whole) : std::to_string(value);
    }
    void Record(std::string call) {
        std::lock_guard guard(mutex_);
        calls_.push_back(std::move(call));
    }

    mutable std::mutex mutex_;
    Lines calls_;  // guarded by mutex_
};

// A report with every axis at rest, the hat centred and no button held.
inline Report Rest() {
    Report report{};
    report.hat = -1;
    return report;
}

// A pad with both sticks, the hat from the report and a button A.
inline constexpr const char* kPads =
    "[Hardware]\n1a2b:3c4d = Pad One\n"
    "[Pad One]\nLayout = Standard\nA_X = LS_X\nA_Y = LS_Y\nAR_X = RS_X\nAR_Y = RS_Y\nH = H\nB_1 = A\n";

inline constexpr uint32_t kPadOneVendor = 0x1a2b;
inline constexpr uint32_t kPadOneProduct = 0x3c4d;

// A runtime on a recording host and a recording routing, with its own
// game-pad configuration reference and a keymap to hand it.
class Bench {
public:
    explicit Bench(TickMode mode = TickMode::kManual, bool verbose = false) {
        callbacks_ = host.Callbacks();
        host.Attach(log, verbose);
        HostHooks hooks;
        hooks.sensor = callbacks_.sensor;
        hooks.sensorContext = callbacks_.sensorContext;
        hooks.notice = callbacks_.notice;
        hooks.noticeContext = callbacks_.noticeContext;
        runtime = std::make_unique<Runtime>(log, configuration, routing, hooks, mode);
    }

    // Hands the keymap to the game-pad subsystem, as a finished load does.
    void Activate() { Publish(&keymap); }
    void Withdraw() { Publish(nullptr); }
    void Publish(Config* config) {
        Platform::LockGuard guard(configuration.lock());
        configuration.Set(config);
    }

    void AttachPadOne(int32_t id = 1) { runtime->Attach(id, kPadOneVendor, kPadOneProduct, database); }
    void Send(int32_t id, const Report& report) { runtime->Update(id, &report); }

    // Declared first: destroyed after the runtime, whose last ticks still log
    // and route.
    Keyweave::Testing::RecordingHost host;
    Log log;
    FakeRouting routing;
    ActiveConfiguration configuration;
    Config keymap;
    Keyweave::Testing::ScratchDir files;
    WideString database = files.Write("gamepads.db", kPads);
    std::unique_ptr<Runtime> runtime;

private:
    HostCallbacks callbacks_;
};

}  // namespace Keyweave::GamePad::Testing
