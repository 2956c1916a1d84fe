#include "engine/engine.h"

#include <utility>

#include "codes/event_codes.h"
#include "config/config_loader.h"
#include "config/dump.h"
#include "config/text_utilities.h"
#include "engine/argument_checks.h"
#include "engine/decision_text.h"
#include "engine/wildcard_path.h"

namespace Keyweave {

Engine::Engine(const HostCallbacks& callbacks, EngineSettings settings, EngineOptions options)
    : callbacks_(callbacks),
      settings_(std::move(settings)),
      clock_(options.manualClock ? static_cast<const Clock*>(options.manualClock) : &systemClock_),
      input_(options.recordedInput ? Platform::CreateRecordedInputState() : Platform::CreateSystemInputState()) {
    // With nowhere to write, no line is formatted at all.
    if (callbacks_.logSink != nullptr) {
        log_.SetSink(callbacks_.logSink, callbacks_.logContext, settings_.verbose);
    } else if (callbacks_.log != nullptr) {
        log_.SetSink(&Engine::ForwardLog, &callbacks_, settings_.verbose);
    }
    log_.Write("Initializing Keyweave");
    scheduler_ = options.manualClock ? std::make_unique<Scheduler>(log_, *options.manualClock)
                                     : std::make_unique<Scheduler>(log_, *clock_);
    scheduler_->Start();
    dispatcher_ = std::make_unique<Dispatcher>(frame_.data(), kTouchPointCount, callbacks_.key, callbacks_.keyContext,
                                               callbacks_.touch, callbacks_.touchContext, *scheduler_,
                                               settings_.screenWidth, settings_.screenHeight, log_, *input_);
    accelerometer_ = std::make_unique<Accelerometer>(callbacks_.sensor, callbacks_.sensorContext, log_);
    gestures_ = std::make_unique<GestureController>(frame_.data(), kTouchPointCount, dispatcher_->FrameLock(),
                                                    callbacks_.touch, callbacks_.touchContext, log_);
    // The key name, character and game-pad control name tables are constant
    // data; nothing is built at run time.
    config_ = std::make_unique<Config>();

    {
        Platform::LockGuard guard(activeConfig_.lock());
        activeConfig_.Start(config_.get());
    }
    executor_ = std::make_unique<ActionExecutor>(*dispatcher_, *accelerometer_,
                                                 ShootingModeCallback(callbacks_.shooting, callbacks_.shootingContext),
                                                 activeConfig_, decisions_);
    router_ =
        std::make_unique<KeyRouter>(activeConfig_, routing_, heldKeys_, *executor_, *scheduler_, log_, decisions_);
    mouse_ = std::make_unique<MouseInput>(activeConfig_, *dispatcher_, *router_, *executor_,
                                          PassThroughCallback(callbacks_.passThrough, callbacks_.passThroughContext),
                                          decisions_);
    characters_ = std::make_unique<CharacterInput>(*dispatcher_, *scheduler_, decisions_);
    // An emulated gesture that comes while another thread loads a keymap
    // waits for the load to end and plays on the new keymap.
    const ConfigHold heldConfig = [this](const std::function<void(const Config*)>& body) {
        Platform::LockGuard load(loadLock_);
        // Emulations act on the keymap the host's input does, the empty one of
        // the start included; the lock keeps a load from replacing it meanwhile.
        activeConfig_.With([&](const Config*) { body(activeConfig_.Current()); });
    };
    emulator_ = std::make_unique<GestureEmulator>(heldConfig, *dispatcher_, *scheduler_, *router_, log_, decisions_);

    gamePadRouting_ = std::make_unique<EngineGamePadRouting>(*router_, *executor_, *accelerometer_);
    GamePad::HostHooks hooks;
    hooks.sensor = callbacks_.sensor;
    hooks.sensorContext = callbacks_.sensorContext;
    for (int i = 0; i < 6; ++i) hooks.reserved[i] = callbacks_.reserved[i];
    hooks.notice = callbacks_.notice;
    hooks.noticeContext = callbacks_.noticeContext;
    manualClock_ = options.manualClock;
    nextTick_ = clock_->Now();
    gamePads_ = std::make_unique<GamePad::Runtime>(
        log_, activeConfig_, *gamePadRouting_, hooks,
        manualClock_ != nullptr ? GamePad::TickMode::kManual : GamePad::TickMode::kThreads);
}

Engine::~Engine() {
    // The tick threads go first (their last cycle may still reach the
    // dispatcher and the scheduler), then the scheduler thread: queued tasks
    // point into the frame and the dispatcher.
    gamePads_.reset();
    scheduler_.reset();
}

void Engine::AttachGamePad(int32_t id, uint32_t vendor, uint32_t product, const WideChar* databasePath) {
    gamePads_->Attach(id, vendor, product, WideFromHost(databasePath));
}

void Engine::UpdateGamePad(int32_t id, const GamePad::Report* report) { gamePads_->Update(id, report); }

void Engine::DetachGamePad(int32_t id) { gamePads_->Detach(id); }

void Engine::AdvanceTo(Millis time) {
    if (manualClock_ == nullptr) return;
    for (;;) {
        Millis due = 0;
        const bool taskDue = scheduler_->NextDueTime(due) && IsDue(due, time);
        const bool tickDue = IsDue(nextTick_, time);
        if (!taskDue && !tickDue) break;
        if (tickDue && (!taskDue || MillisSince(nextTick_, due) < 0)) {
            // A wait that ran the queue forward (an emulated gesture) may have
            // moved the clock past ticks. Like a tick thread that was held up,
            // the pads do not make up the cycles they missed: the next runs now.
            const Millis now = manualClock_->Now();
            if (!IsDue(nextTick_, now)) {
                manualClock_->Set(nextTick_);
            } else {
                nextTick_ = now;
            }
            gamePads_->RunTickCycle();
            nextTick_ += GamePad::kTickPeriodMs;
        } else {
            scheduler_->Step();
        }
    }
    scheduler_->AdvanceTo(time);
}

void Engine::ForwardLog(void* context, const char* line) {
    const auto* callbacks = static_cast<const HostCallbacks*>(context);
    if (callbacks->log != nullptr) callbacks->log(line);
}

// Game-pad threads (the direct game-pad actions) and emulated gestures reach
// the keymap and the touch state under the game-pad lock, so the whole
// tear-down runs under it: none of them acts on a keymap half torn down, or
// posts touches across the reset.
void Engine::TearDownConfig() {
    Platform::LockGuard guard(activeConfig_.lock());
    activeConfig_.Set(nullptr);
    accelerometer_->Reset();
    scheduler_->Clear();
    dispatcher_->Reset();
    accelerometer_->RestoreTiltDefaults();
    pendingKnobs_ = EmulationKnobs{};  // the next keymap starts from the defaults
    if (config_->ShootingModeActive() != 0 && callbacks_.shooting != nullptr) {
        callbacks_.shooting(callbacks_.shootingContext, 0);
    }
    config_.reset();
}

// The one moment a load makes its keymap active, after the host has had its
// summary: game pads, emulations and the host's input see it from here on.
void Engine::Publish(std::unique_ptr<Config> config) {
    Platform::LockGuard guard(activeConfig_.lock());
    config_ = std::move(config);
    emulator_->ReplaceKnobs(pendingKnobs_);
    locationUpdation_.store(config_->EnableLocationUpdationWithKeyMap() != 0);
    activeConfig_.Set(config_.get());
}

std::unique_ptr<Config> Engine::LoadFirstOfChain(const WideChar* secondPath, const WideChar* primaryPath) {
    const WideString primary = WideFromHost(primaryPath);
    const WideString second = WideFromHost(secondPath);
    // One locale for the whole chain, whatever another thread sets meanwhile.
    const ParseContext context{log_, Locale(), &pendingKnobs_, accelerometer_.get()};
    const auto tryLoad = [&](const WideChar* path) {
        auto config = Keyweave::LoadConfig(path, context);
        if (config != nullptr && decisions_.On()) loadedPath_ = ToUtf8(WideFromHost(path));
        return config;
    };
    loadedPath_.clear();
    if (auto config = tryLoad(primary.c_str())) return config;
    log_.Write("Loading wild card config at %s", primary.c_str());
    if (auto config = tryLoad(WildCardConfigPath(primary.c_str()))) return config;
    log_.Write("Loading config at %s", second.c_str());
    if (auto config = tryLoad(second.c_str())) return config;
    log_.Write("Loading wild card config at %s", second.c_str());
    if (auto config = tryLoad(WildCardConfigPath(second.c_str()))) return config;

    log_.Write("Cannot load config, loading default config");
    std::unique_ptr<Config> config = tryLoad(settings_.defaultConfigPath.c_str());
    if (config == nullptr) {
        log_.Write("Cannot load default config %s", settings_.defaultConfigPath.c_str());
        config = std::make_unique<Config>();
    }
    config->MarkDefault();
    return config;
}

int32_t Engine::LoadConfig(const WideChar* secondPath, const WideChar* primaryPath, const char* package) {
    Platform::LockGuard load(loadLock_);
    log_.Write("Loading config at %s", WideFromHost(primaryPath).c_str());
    if (config_ != nullptr) TearDownConfig();
    std::unique_ptr<Config> loaded = LoadFirstOfChain(secondPath, primaryPath);
    loaded->SetPackage(package != nullptr ? package : "");
    const std::string summary = SummaryText(*loaded);
    if (callbacks_.summary != nullptr) callbacks_.summary(callbacks_.summaryContext, summary.c_str());
    Publish(std::move(loaded));
    if (const ScreenAction* centre = config_->ScreenCenter()) dispatcher_->SetScreenCentre(centre);
    if (decisions_.On()) ReportKeymap(loadedPath_);
    return 0;
}

void Engine::ReportKeymap(const std::string& path) {
    Decision decision;
    decision.input = InputKind::kKeymap;
    decision.reason = config_->IsDefault() ? Reason::kDefaultKeymap : Reason::kKeymapLoaded;
    decision.file = path.empty() ? nullptr : path.c_str();
    decisions_.Report(decision);
}

static_assert(KEYWEAVE_DECISION_REFUSED_VALUE == kLastReason && KEYWEAVE_DECISION_REPEAT == 6 &&
                  KEYWEAVE_INPUT_KEYMAP == static_cast<int>(InputKind::kKeymap),
              "the header's numbers are the trace's");

void Engine::ForwardDecision(void* context, const Decision& decision) {
    const auto* host = static_cast<const HostDecisions*>(context);
    char text[Log::kLineBytes];
    DescribeDecision(decision, text, sizeof text);
    KeyweaveDecision record{};
    record.size = sizeof record;
    record.input = static_cast<int32_t>(decision.input);
    record.reason = static_cast<int32_t>(decision.reason);
    record.reasonName = ReasonName(decision.reason);
    record.text = text;
    record.code = decision.code;
    record.pressed = decision.pressed;
    record.x = decision.x;
    record.y = decision.y;
    record.z = decision.z;
    record.keys[0] = decision.keys[0];
    record.keys[1] = decision.keys[1];
    record.section = decision.section;
    record.line = decision.line;
    record.actionType = decision.actionType;
    record.slot = decision.slot;
    record.delayMs = decision.delayMs;
    record.file = decision.file;
    host->callback(host->context, &record);
}

void Engine::SetHostDecisionObserver(KeyweaveDecisionCallback callback, void* context) {
    if (callback == nullptr) {
        decisions_.Set(nullptr, nullptr);
        return;
    }
    hostDecisions_.push_back(std::make_unique<HostDecisions>(HostDecisions{callback, context}));
    decisions_.Set(&Engine::ForwardDecision, hostDecisions_.back().get());
}

void Engine::DecideGesture(GestureCall call, Reason reason, float x, float y) const {
    Keyweave::DecideGesture(decisions_, call, reason, x, y);
}

// A scroll or zoom call that did nothing either came out of order (its
// gesture is not the one under way) or carried a value refused on the way.
void Engine::DecideGesture(GestureCall call, bool played, bool fitted, float x, float y) const {
    DecideGesture(call, played ? Reason::kGesture : fitted ? Reason::kRefusedValue : Reason::kGestureOutOfOrder, x, y);
}

void Engine::HandleShake(float x, float y, float z) {
    if (!ArgumentChecks(log_, "handle shake").Finite("x", x).Finite("y", y).Finite("z", z)) {
        if (decisions_.On()) {
            Decision decision;
            decision.input = InputKind::kShake;
            decision.reason = Reason::kRefusedValue;
            decisions_.Report(decision);
        }
        return;
    }
    if (decisions_.On()) {
        Decision decision;
        decision.input = InputKind::kShake;
        decision.reason = Reason::kSensor;
        decision.x = x;
        decision.y = y;
        decision.z = z;
        decisions_.Report(decision);
    }
    accelerometer_->HandleShake(x, y, z);
}

const WideChar* Engine::WildCardConfigPath(const WideChar* path) {
    const WideString argument = WideFromHost(path);
    std::optional<WideString> wildCard = WildCardPath(argument, log_);
    if (!wildCard) return path;
    Platform::LockGuard guard(wildCardLock_);
    return wildCardPaths_.insert(std::move(*wildCard)).first->c_str();
}

void Engine::SetLocale(const char* locale) {
    const std::string normalized = Text::NormalizeName(locale != nullptr ? locale : "");
    {
        Platform::LockGuard guard(localeLock_);
        locale_ = normalized;
    }
    log_.Write("Using normalized locale %s", normalized.c_str());
}

std::string Engine::Locale() const {
    Platform::LockGuard guard(localeLock_);
    return locale_;
}

int32_t Engine::IsLocationUpdationWithKeyMapEnabled() {
    if (locationUpdation_.load()) {
        log_.Write("location updation enabled");
        return 1;
    }
    log_.Write("location updation NOT enabled");
    return 0;
}

void Engine::HandleKey(uint32_t keyCode, bool pressed) {
    input_->NoteKey(keyCode, pressed);
    router_->Route(keyCode, pressed, true);
}

void Engine::HandleController(uint32_t controllerCode, bool pressed) {
    const uint32_t keyCode = config_->ControllerKey(controllerCode);
    if (keyCode == Config::kNoControllerKey) {
        if (decisions_.On()) {
            Decision decision;
            decision.input = InputKind::kController;
            decision.reason = Reason::kNoRule;
            decision.code = controllerCode;
            decision.pressed = pressed ? 1 : 0;
            decisions_.Report(decision);
        }
        return;
    }
    router_->RouteController(keyCode, pressed);
}

void Engine::HandleCharacter(char character) { characters_->HandleCharacter(character); }

void Engine::UpdateMouseStatus(float x, float y, int32_t message, uint32_t parameter) {
    if (!ArgumentChecks(log_, "use the mouse position").Position("x", x).Position("y", y)) {
        // As if the pointer had not moved: a move is then dropped as a
        // repeat, and a button is still pressed or released.
        x = mouse_->LastPosition().x;
        y = mouse_->LastPosition().y;
    }
    if (message == kLeftButtonDown || message == kLeftButtonUp) input_->NoteLeftButton(message == kLeftButtonDown);
    mouse_->UpdateMouseStatus(x, y, message, parameter);
}

void Engine::ScrollBegin(float x, float y) {
    if (!ArgumentChecks(log_, "begin scroll").Position("x", x).Position("y", y)) {
        return DecideGesture(GestureCall::kScrollBegin, Reason::kRefusedValue, x, y);
    }
    const bool fitted = gestures_->CurrentGesture() == GestureController::Gesture::None;
    DecideGesture(GestureCall::kScrollBegin, gestures_->ScrollBegin(x, y), fitted, x, y);
}

// The finger may leave the screen by any distance (a scroll is not clamped);
// a move the numbers cannot follow is refused by the gesture itself.
void Engine::ScrollUpdate(float dx, float dy) {
    if (!ArgumentChecks(log_, "update scroll").Finite("dx", dx).Finite("dy", dy)) {
        return DecideGesture(GestureCall::kScrollUpdate, Reason::kRefusedValue, dx, dy);
    }
    const bool fitted = gestures_->CurrentGesture() == GestureController::Gesture::Scroll;
    DecideGesture(GestureCall::kScrollUpdate, gestures_->ScrollUpdate(dx, dy), fitted, dx, dy);
}

void Engine::ScrollEnd() {
    const bool fitted = gestures_->CurrentGesture() == GestureController::Gesture::Scroll;
    DecideGesture(GestureCall::kScrollEnd, gestures_->ScrollEnd(), fitted, 0.0f, 0.0f);
}

void Engine::ZoomBegin(float x, float y) {
    if (!ArgumentChecks(log_, "begin zoom").Position("x", x).Position("y", y)) {
        return DecideGesture(GestureCall::kZoomBegin, Reason::kRefusedValue, x, y);
    }
    const bool fitted = gestures_->CurrentGesture() == GestureController::Gesture::None;
    DecideGesture(GestureCall::kZoomBegin, gestures_->ZoomBegin(x, y), fitted, x, y);
}

void Engine::ZoomUpdate(float scale) {
    if (!ArgumentChecks(log_, "update zoom").Finite("scale", scale)) {
        return DecideGesture(GestureCall::kZoomUpdate, Reason::kRefusedValue, scale, 0.0f);
    }
    const bool fitted = gestures_->CurrentGesture() == GestureController::Gesture::Zoom;
    DecideGesture(GestureCall::kZoomUpdate, gestures_->ZoomUpdate(scale), fitted, scale, 0.0f);
}

void Engine::ZoomEnd() {
    const bool fitted = gestures_->CurrentGesture() == GestureController::Gesture::Zoom;
    DecideGesture(GestureCall::kZoomEnd, gestures_->ZoomEnd(), fitted, 0.0f, 0.0f);
}

// The lengths only need to be numbers: every step of a swipe stays on the
// screen. The split does not: each pinch finger starts that far from the
// centre, on its side of it.
void Engine::SetEmulatedSwipeKnobs(float length, uint32_t durationMs) {
    if (!ArgumentChecks(log_, "set emulated swipe knobs").Finite("length", length).Duration("duration", durationMs)) {
        return;
    }
    emulator_->SetSwipeKnobs(length, durationMs);
}

void Engine::SetEmulatedPinchKnobs(float split, float lengthIn, float lengthOut, int32_t durationMs) {
    if (!ArgumentChecks(log_, "set emulated pinch knobs")
             .NotNegative("split", split)
             .Finite("lengthIn", lengthIn)
             .Finite("lengthOut", lengthOut)
             .Duration("duration", durationMs)) {
        return;
    }
    emulator_->SetPinchKnobs(split, lengthIn, lengthOut, durationMs);
}

void Engine::EmulateSwipe(float x, float y, int32_t direction) {
    if (!ArgumentChecks(log_, "emulate swipe").Position("x", x).Position("y", y)) {
        return DecideGesture(GestureCall::kEmulateSwipe, Reason::kRefusedValue, x, y);
    }
    emulator_->EmulateSwipe(x, y, direction);
}

// The end point is taken as it is, however far off the screen.
void Engine::EmulateSwipeXY(float x1, float y1, float x2, float y2) {
    if (!ArgumentChecks(log_, "emulate swipe between points")
             .Position("x1", x1)
             .Position("y1", y1)
             .Finite("x2", x2)
             .Finite("y2", y2)) {
        return DecideGesture(GestureCall::kEmulateSwipeXY, Reason::kRefusedValue, x1, y1);
    }
    emulator_->EmulateSwipeXY(x1, y1, x2, y2);
}

void Engine::EmulatePinch(float x, float y, int32_t in) {
    if (!ArgumentChecks(log_, "emulate pinch").Position("x", x).Position("y", y)) {
        return DecideGesture(GestureCall::kEmulatePinch, Reason::kRefusedValue, x, y);
    }
    emulator_->EmulatePinch(x, y, in);
}

void Engine::Finalize() { log_.Write("Finalizing Keyweave"); }

int32_t Engine::ParserVersion() {
    log_.Write("At the start of getparserversion function");
    return kParserVersion;
}

}  // namespace Keyweave
