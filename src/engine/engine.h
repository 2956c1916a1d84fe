#pragma once
// Keyweave::Engine owns everything that lives once per running engine: the
// log, the clock, the touch frame, the scheduler, the dispatcher, the
// accelerometer, the gestures, the game-pad runtime and the active keymap,
// together with the small settings the host sets directly.
//
// The exported functions drive one global Engine; tests and the simulator
// build as many as they like, each on a manual clock if they want one.
//
// Threads: the host's threads call in. Key, controller, mouse and character
// input and LoadConfig must not overlap (the host's promise); everything else
// may come from any thread while a load runs on another. The game-pad threads
// reach the configuration only through the game-pad reference, under its lock
// (while a keymap is being read they find none); an emulated gesture waits for
// a load in progress (loadLock_) and then holds the game-pad lock; the
// location query reads a copy of its flag, and the locale is copied under its
// own lock, so nothing touches a keymap that a load is destroying or reading.

#include <atomic>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/decision.h"
#include "base/log.h"
#include "base/text.h"
#include "config/config.h"
#include "config/emulation_knobs.h"
#include "dispatch/dispatcher.h"
#include "dispatch/scheduler.h"
#include "dispatch/touch_frame.h"
#include "engine/gamepad_routing.h"
#include "engine/host_callbacks.h"
#include "gamepad/active_configuration.h"
#include "gamepad/runtime.h"
#include "gestures/gesture_controller.h"
#include "gestures/gesture_emulator.h"
#include "input/action_executor.h"
#include "input/character_input.h"
#include "input/held_keys.h"
#include "input/key_router.h"
#include "input/mouse_input.h"
#include "input/routing_settings.h"
#include "platform/platform.h"
#include "platform/system_clock.h"
#include "sensors/accelerometer.h"

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
    // KeyweaveInit: installs the log sink, logs "Initializing Keyweave", then
    // creates the touch frame, the scheduler (started), the dispatcher (the
    // host receives an all-up frame), the accelerometer (a level vector), the
    // gesture controller and the game-pad runtime, makes an empty
    // configuration active, and builds the input side on top: action
    // execution, key routing, mouse and character input, gesture emulation.
    Engine(const HostCallbacks& callbacks, EngineSettings settings, EngineOptions options = {});
    ~Engine();

    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // KeyweaveLoadConfig: tears down the old keymap's run-time state and loads
    // the first keymap of the fallback chain; always returns 0.
    int32_t LoadConfig(const WideChar* secondPath, const WideChar* primaryPath, const char* package);
    // WildCardConfigPath: the returned string stays valid while the engine
    // lives; asking again for the same path returns the same string.
    [[nodiscard]] const WideChar* WildCardConfigPath(const WideChar* path);
    // KeyweaveSetLocale: normalised like a section name; affects later loads.
    void SetLocale(const char* locale);
    [[nodiscard]] std::string Locale() const;
    // KeyweaveIsLocationUpdationWithKeyMapEnabled.
    int32_t IsLocationUpdationWithKeyMapEnabled();
    // KeyweaveFini: logs and leaves everything running.
    void Finalize();
    // GetParserVersion: the keymap format this engine reads.
    static constexpr int32_t kParserVersion = 4;
    [[nodiscard]] int32_t ParserVersion();
    // KeyweaveSetKeyMappingState: 1 is on, any other value off.
    void SetKeyMappingState(int32_t state) { routing_.keyMappingState = state; }
    [[nodiscard]] bool KeyMappingOn() const { return routing_.MappingOn(); }
    // KeyweaveSetForwardRawKeys.
    void SetForwardRawKeys(bool forward) { routing_.forwardRawKeys = forward; }
    [[nodiscard]] bool ForwardRawKeys() const { return routing_.ForwardRawKeys(); }

    // ---- Host input (the host's input thread, never during LoadConfig) ----
    // KeyweaveHandleKey: a host keyboard key, noted as physically held or
    // released, then routed.
    void HandleKey(uint32_t keyCode, bool pressed);
    // KeyweaveHandleController: an on-screen controller button, routed as the
    // key the keymap gives it; a code without one is dropped silently.
    void HandleController(uint32_t controllerCode, bool pressed);
    // KeyweaveHandleCharacter: typed as scan codes, whatever the keymap says.
    void HandleCharacter(char character);
    // KeyweaveUpdateMouseStatus: the left button is noted as physically held
    // or released first. A position ArgumentChecks refuses is logged and the
    // message handled at the last position, so a button still goes up.
    void UpdateMouseStatus(float x, float y, int32_t message, uint32_t parameter);

    // ---- The decision trace (any thread, one call at a time) ----
    // Every input's decisions go to `observer` on the input's thread; null
    // (the default) stops them. See base/decision.h.
    void SetDecisionObserver(DecisionTrace::Observer observer, void* context) { decisions_.Set(observer, context); }
    // KeyweaveSetDecisionObserver: the same, as the header's records with
    // their line of text.
    void SetHostDecisionObserver(KeyweaveDecisionCallback callback, void* context);
    [[nodiscard]] const DecisionTrace& decisions() const { return decisions_; }

    // ---- Shakes and touch-pad gestures (any host thread) ----
    // The values the host passes are checked (ArgumentChecks); a refused call
    // is logged and does nothing.
    // KeyweaveHandleShakeAction: the three values go to the sensor callback.
    void HandleShake(float x, float y, float z);
    // KeyweaveScrollBegin ... KeyweaveZoomEnd: each call's decision says
    // whether it played, came out of order or carried a refused value.
    void ScrollBegin(float x, float y);
    void ScrollUpdate(float dx, float dy);
    void ScrollEnd();
    void ZoomBegin(float x, float y);
    void ZoomUpdate(float scale);
    void ZoomEnd();

    // ---- Game pads (any host thread) ----
    void AttachGamePad(int32_t id, uint32_t vendor, uint32_t product, const WideChar* databasePath);
    void UpdateGamePad(int32_t id, const GamePad::Report* report);
    void DetachGamePad(int32_t id);

    // ---- Manual clock (tests, the simulator) ----
    // Moves the manual clock to `time`, running every scheduler task and every
    // 4 ms game-pad tick cycle due on the way, in time order. Nothing on the
    // system clock.
    void AdvanceTo(Millis time);
    void AdvanceBy(Millis delta) { AdvanceTo(clock_->Now() + delta); }

    // ---- Emulated gestures (any host thread; the three plays block) ----
    // The values are checked first (ArgumentChecks): a refused knob call
    // keeps the knobs as they were, a refused play plays nothing and returns.
    void SetEmulatedSwipeKnobs(float length, uint32_t durationMs);
    void SetEmulatedPinchKnobs(float split, float lengthIn, float lengthOut, int32_t durationMs);
    void EmulateSwipe(float x, float y, int32_t direction);
    void EmulateSwipeXY(float x1, float y1, float x2, float y2);
    void EmulatePinch(float x, float y, int32_t in);

    [[nodiscard]] const Log& log() const { return log_; }
    [[nodiscard]] const Clock& clock() const { return *clock_; }
    Scheduler& scheduler() { return *scheduler_; }
    Dispatcher& dispatcher() { return *dispatcher_; }
    Accelerometer& accelerometer() { return *accelerometer_; }
    GestureController& gestures() { return *gestures_; }
    // The one way to the active keymap (see gamepad/active_configuration.h).
    GamePad::ActiveConfiguration& activeConfiguration() { return activeConfig_; }
    Platform::InputState& input() { return *input_; }
    // The active keymap; one always exists outside LoadConfig.
    Config& config() { return *config_; }
    [[nodiscard]] EmulationKnobs knobs() const { return emulator_->Knobs(); }
    HeldKeys& heldKeys() { return heldKeys_; }
    ActionExecutor& executor() { return *executor_; }
    KeyRouter& router() { return *router_; }
    MouseInput& mouse() { return *mouse_; }
    CharacterInput& characters() { return *characters_; }
    GestureEmulator& emulator() { return *emulator_; }
    GamePad::Runtime& gamePads() { return *gamePads_; }
    [[nodiscard]] const TouchFrame& frame() const { return frame_; }
    [[nodiscard]] const HostCallbacks& callbacks() const { return callbacks_; }
    [[nodiscard]] const EngineSettings& settings() const { return settings_; }

private:
    static void ForwardLog(void* context, const char* line);
    // Hands a decision to the host's observer (`context`: a HostDecisions).
    static void ForwardDecision(void* context, const Decision& decision);
    // The keymap now active, and the file it came from.
    void ReportKeymap(const std::string& path);
    void TearDownConfig();
    void Publish(std::unique_ptr<Config> config);
    // A gesture's decision; the second form tells a call that did nothing
    // by whether it fitted the gesture under way.
    void DecideGesture(GestureCall call, Reason reason, float x, float y) const;
    void DecideGesture(GestureCall call, bool played, bool fitted, float x, float y) const;
    [[nodiscard]] std::unique_ptr<Config> LoadFirstOfChain(const WideChar* secondPath, const WideChar* primaryPath);

    HostCallbacks callbacks_;
    EngineSettings settings_;
    Log log_;
    SystemClock systemClock_;
    const Clock* clock_;
    std::unique_ptr<Platform::InputState> input_;

    TouchFrame frame_{};  // shared by the dispatcher and the gestures
    std::unique_ptr<Scheduler> scheduler_;
    std::unique_ptr<Dispatcher> dispatcher_;
    std::unique_ptr<Accelerometer> accelerometer_;
    std::unique_ptr<GestureController> gestures_;
    GamePad::ActiveConfiguration activeConfig_;
    // The active keymap's owner. Replaced only by LoadConfig, under the
    // game-pad lock, and published through activeConfig_ once per load.
    std::unique_ptr<Config> config_;

    // Held by LoadConfig from start to end, and by an emulated gesture while
    // it reads the keymap; taken before the game-pad lock. Re-entrant: the
    // host's callbacks must not call in, but one that emulates a gesture
    // while LoadConfig reads a keymap finds no keymap rather than a deadlock.
    Platform::RecursiveLock loadLock_ KEYWEAVE_ACQUIRED_BEFORE(activeConfig_.lock());
    EmulationKnobs pendingKnobs_;  // what the keymap being loaded sets; LoadConfig only
    mutable Platform::Lock localeLock_;
    std::string locale_ KEYWEAVE_GUARDED_BY(localeLock_);  // a load reads a copy
    // The active keymap's mEnableLocationUpdationWithKeyMap, kept when a keymap
    // becomes active: the old keymap's answer while a load runs.
    std::atomic<bool> locationUpdation_{false};
    RoutingSettings routing_;  // atomics: game-pad threads route keys too

    // Declared before everything that reports to it. The host's observers
    // are kept until the engine ends, as the trace keeps its targets.
    DecisionTrace decisions_;
    struct HostDecisions {
        KeyweaveDecisionCallback callback;
        void* context;
    };
    std::vector<std::unique_ptr<HostDecisions>> hostDecisions_;
    std::string loadedPath_;  // LoadConfig only: the file of the chain that loaded, UTF-8; empty: none

    // Input. The held map is shared by the host's input thread and the
    // game-pad threads (see HeldKeys); all of them reach the keymap through
    // activeConfig_.
    HeldKeys heldKeys_;
    std::unique_ptr<ActionExecutor> executor_;
    std::unique_ptr<KeyRouter> router_;
    std::unique_ptr<MouseInput> mouse_;
    std::unique_ptr<CharacterInput> characters_;
    std::unique_ptr<GestureEmulator> emulator_;

    // Game pads: declared after everything their ticks reach, and stopped
    // first on destruction.
    std::unique_ptr<EngineGamePadRouting> gamePadRouting_;
    std::unique_ptr<GamePad::Runtime> gamePads_;
    ManualClock* manualClock_ = nullptr;
    Millis nextTick_ = 0;  // manual clock: when the next game-pad tick cycle is due

    Platform::Lock wildCardLock_;
    std::set<WideString> wildCardPaths_ KEYWEAVE_GUARDED_BY(wildCardLock_);  // handed out, never erased
};

}  // namespace Keyweave
