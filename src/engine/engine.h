#pragma once
// Keyweave::Engine owns everything that lives once per running engine: the
// log, the clock, the scheduler and, as they are built, the dispatcher, the
// accelerometer, the gestures, the game-pad runtime and the active keymap,
// together with the small settings the host sets directly.
//
// The exported functions drive one global Engine; tests and the simulator
// build as many as they like, each on a manual clock if they want one.

#include <cstdint>
#include <memory>

#include "api/host_callbacks.h"
#include "dispatch/scheduler.h"
#include "engine/clock.h"
#include "engine/log.h"
#include "engine/text.h"
#include "platform/platform.h"

namespace Keyweave {

struct EngineOptions {
    // Null: the system clock, with the scheduler on its own thread. Otherwise
    // the scheduler runs in manual mode on this clock, which must outlive the
    // engine.
    ManualClock* manualClock = nullptr;
    // True: the physical key and button state is what the engine's own exports
    // saw, on every platform (deterministic tests). False: the system's.
    bool recordedInput = false;
};

// What KeyweaveInit receives besides the callbacks.
struct EngineSettings {
    WideString defaultConfigPath;
    bool verbose = false;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
};

class Engine {
public:
    // Runs the start-up sequence: installs the log sink, logs
    // "Initializing Keyweave", creates and starts the scheduler, and so on.
    Engine(const HostCallbacks& callbacks, EngineSettings settings, EngineOptions options = {});
    ~Engine();

    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const Log& log() const { return log_; }
    const Clock& clock() const { return *clock_; }
    Scheduler& scheduler() { return *scheduler_; }
    Platform::InputState& input() { return *input_; }
    const HostCallbacks& callbacks() const { return callbacks_; }
    const EngineSettings& settings() const { return settings_; }

    // KeyweaveFini: logs and leaves everything running.
    void Finalize();
    // GetParserVersion.
    int32_t ParserVersion();
    // KeyweaveSetKeyMappingState: 1 is on, any other value off.
    void SetKeyMappingState(int32_t state) { keyMappingState_ = state; }
    bool KeyMappingOn() const { return keyMappingState_ == 1; }
    // KeyweaveSetForwardRawKeys.
    void SetForwardRawKeys(bool forward) { forwardRawKeys_ = forward; }
    bool ForwardRawKeys() const { return forwardRawKeys_; }

private:
    static void ForwardLog(void* context, const char* line);

    HostCallbacks callbacks_;
    EngineSettings settings_;
    Log log_;
    SystemClock systemClock_;
    const Clock* clock_;
    std::unique_ptr<Platform::InputState> input_;
    std::unique_ptr<Scheduler> scheduler_;

    // Written and read by the host's input thread only.
    int32_t keyMappingState_ = 1;
    bool forwardRawKeys_ = true;
};

}  // namespace Keyweave
