#include "script/script_player.h"

#include <utility>

#include "common/printf.h"
#include "keymap/keymap_load.h"

namespace Keyweave::Tool {
namespace {

using Kind = ScriptCommand::Kind;

// The button release that answers a press.
constexpr int32_t ReleaseOf(int32_t press) {
    return press == KEYWEAVE_MOUSE_LEFT_DOWN ? KEYWEAVE_MOUSE_LEFT_UP : KEYWEAVE_MOUSE_RIGHT_UP;
}

// A script that keeps posting work forever would never end; no keymap does.
constexpr int kMostTasksAtTheEnd = 1000000;

}  // namespace

ScriptPlayer::ScriptPlayer(PlayOptions options) : options_(std::move(options)) {
    EngineSettings settings;
    settings.verbose = options_.verbose;
    settings.screenWidth = options_.screen.width;
    settings.screenHeight = options_.screen.height;
    EngineOptions engineOptions;
    engineOptions.manualClock = &clock_;
    engineOptions.recordedInput = true;
    recorder_.SetEveryLogLine(options_.verbose);
    engine_ = std::make_unique<Engine>(recorder_.Callbacks(), std::move(settings), engineOptions);
    if (options_.explain) engine_->SetDecisionObserver(&TimelineRecorder::OnDecision, &recorder_);
    if (!options_.locale.empty()) engine_->SetLocale(options_.locale.c_str());
}

ScriptPlayer::~ScriptPlayer() = default;

void ScriptPlayer::Load(const std::string& path, const std::string& package) {
    const WideString wide = ToWide(path);
    recorder_.SetLoading(true);
    engine_->LoadConfig(wide.c_str(), wide.c_str(), package.c_str());
    recorder_.SetLoading(false);
}

void ScriptPlayer::AdvanceTo(Millis time) { engine_->AdvanceTo(time); }

bool ScriptPlayer::NextDue(Millis& due) const { return engine_->scheduler().NextDueTime(due); }

void ScriptPlayer::Finish() {
    // Only the queue: the game-pad ticks would go on for ever while a stick
    // is held off centre.
    for (int i = 0; i < kMostTasksAtTheEnd && engine_->scheduler().Step(); ++i) {
    }
}

bool ScriptPlayer::Play(const std::vector<ScriptCommand>& commands, ScriptError& error) {
    Begin();
    for (const ScriptCommand& command : commands) {
        if (!Step(command, error)) return false;
    }
    Finish();
    return true;
}

void ScriptPlayer::Begin() {
    recorder_.Start();
    Load(options_.keymapPath, options_.package);
    AdvanceTo(clock_.Now());
}

bool ScriptPlayer::Step(const ScriptCommand& command, ScriptError& error) {
    recorder_.NoteInput(command.line, command.text);
    if (!Run(command, error)) return false;
    // What the call made due at once happens before the next line.
    AdvanceTo(clock_.Now());
    return true;
}

bool ScriptPlayer::Run(const ScriptCommand& command, ScriptError& error) {
    Engine& engine = *engine_;
    const auto& v = command.values;
    switch (command.kind) {
        case Kind::kWait:
            AdvanceTo(clock_.Now() + static_cast<Millis>(command.millis));
            break;
        case Kind::kAt: {
            const Millis target = kClockStart + static_cast<Millis>(command.millis);
            if (target < clock_.Now()) {
                error = {command.line, Printf("Cannot go back to %lld ms: the script is at %lld ms already",
                                              static_cast<long long>(command.millis),
                                              static_cast<long long>(clock_.Now() - kClockStart))};
                return false;
            }
            AdvanceTo(target);
            break;
        }
        case Kind::kPress:
            engine.HandleKey(command.key, true);
            break;
        case Kind::kRelease:
            engine.HandleKey(command.key, false);
            break;
        case Kind::kTap:
            engine.HandleKey(command.key, true);
            engine.HandleKey(command.key, false);
            break;
        case Kind::kController:
            engine.HandleController(command.controller, command.on);
            break;
        case Kind::kType:
            for (const char character : command.argument) engine.HandleCharacter(character);
            break;
        case Kind::kMouseMove:
            mouseX_ = v[0];
            mouseY_ = v[1];
            engine.UpdateMouseStatus(mouseX_, mouseY_, KEYWEAVE_MOUSE_MOVE, 0);
            break;
        case Kind::kButton:
            engine.UpdateMouseStatus(mouseX_, mouseY_, command.mouseMessage, 0);
            break;
        case Kind::kClick: {
            engine.UpdateMouseStatus(mouseX_, mouseY_, command.mouseMessage, 0);
            engine.UpdateMouseStatus(mouseX_, mouseY_, ReleaseOf(command.mouseMessage), 0);
            break;
        }
        case Kind::kScrollBegin:
            engine.ScrollBegin(v[0], v[1]);
            break;
        case Kind::kScrollMove:
            engine.ScrollUpdate(v[0], v[1]);
            break;
        case Kind::kScrollEnd:
            engine.ScrollEnd();
            break;
        case Kind::kZoomBegin:
            engine.ZoomBegin(v[0], v[1]);
            break;
        case Kind::kZoomScale:
            engine.ZoomUpdate(v[0]);
            break;
        case Kind::kZoomEnd:
            engine.ZoomEnd();
            break;
        case Kind::kEmulateSwipe:
            engine.EmulateSwipe(v[0], v[1], command.direction);
            break;
        case Kind::kEmulateSwipeXY:
            engine.EmulateSwipeXY(v[0], v[1], v[2], v[3]);
            break;
        case Kind::kEmulatePinch:
            engine.EmulatePinch(v[0], v[1], command.on ? 1 : 0);
            break;
        case Kind::kSwipeKnobs:
            engine.SetEmulatedSwipeKnobs(v[0], static_cast<uint32_t>(command.millis));
            break;
        case Kind::kPinchKnobs:
            engine.SetEmulatedPinchKnobs(v[0], v[1], v[2], static_cast<int32_t>(command.millis));
            break;
        case Kind::kShake:
            engine.HandleShake(v[0], v[1], v[2]);
            break;
        case Kind::kPadAttach: {
            const WideString database = ToWide(command.argument);
            engine.AttachGamePad(command.number, command.vendor, command.product, database.c_str());
            break;
        }
        case Kind::kPadReport:
            engine.UpdateGamePad(command.number, &command.report);
            break;
        case Kind::kPadDetach:
            engine.DetachGamePad(command.number);
            break;
        case Kind::kReload:
            if (!command.HasArgument()) {
                Load(options_.keymapPath, options_.package);
            } else {
                Load(command.argument, command.package.empty() ? PackageOfPath(command.argument) : command.package);
            }
            break;
        case Kind::kLocale:
            engine.SetLocale(command.argument.c_str());
            break;
        case Kind::kMapping:
            engine.SetKeyMappingState(command.on ? 1 : 0);
            break;
        case Kind::kForwardRawKeys:
            engine.SetForwardRawKeys(command.on);
            break;
        case Kind::kShootingAnswer:
            recorder_.SetShootingAnswer(command.number);
            break;
        case Kind::kScreen:
            break;  // the engine was made with it, before the load
    }
    return true;
}

}  // namespace Keyweave::Tool
