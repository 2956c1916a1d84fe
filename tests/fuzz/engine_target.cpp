// Fuzz target: a host session. A fresh engine on a manual clock runs the
// operations the input decodes to, one opcode byte and its arguments at a
// time: keys, controller codes, characters, mouse messages, game pads,
// touch-pad gestures, emulated gestures, the state setters, keymap loads and
// clock advances. Keys are drawn mostly from the keys the active keymap binds,
// so that random bytes reach its actions.
//
// After every operation the slot accounting must hold; after every load the
// pool must be whole; every contact the host receives must be at a finite
// position; at the end the queue must drain, and a last load must give every
// slot back.
//
// With KEYWEAVE_FUZZ_TRACE set in the environment, a run prints its
// operations and the engine's log lines to standard error (for reading a
// finding).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "engine/engine.h"
#include "engine_invariants.h"
#include "fuzz_input.h"
#include "fuzz_targets.h"
#include "input_file.h"

namespace Keyweave::Fuzz {

namespace {

// Far enough for any sequence a keymap can describe; a queue still busy
// beyond it keeps itself alive.
constexpr size_t kDrainTaskLimit = 200000;
constexpr Millis kDrainHorizonMs = Millis{400} * 24 * 60 * 60 * 1000;  // 400 days

// What the engine sends to its host, checked as it arrives.
struct FuzzHost {
    std::string problems;
    size_t characters = 0;
    bool trace = std::getenv("KEYWEAVE_FUZZ_TRACE") != nullptr;

    static void OnLog(void* self, const char* line) {
        auto& host = *static_cast<FuzzHost*>(self);
        if (host.trace) std::fprintf(stderr, "  | %s\n", line);
        DiscardLine(&host.characters, line);
    }

    static void OnKey(void*, uint8_t) {}
    static void OnTouch(void* self, const KeyweaveTouchPoint* points, uint32_t count, uint32_t) {
        auto& host = *static_cast<FuzzHost*>(self);
        if (points == nullptr || count == 0 || count > kTouchPointCount) {
            host.problems += "a touch report with " + std::to_string(count) + " contacts\n";
            return;
        }
        for (uint32_t i = 0; i < count; ++i) {
            if (points[i].down > 1) host.problems += "a contact is neither up nor down\n";
            if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) {
                host.problems += "contact " + std::to_string(i) + " is at a position that is not a number\n";
            }
        }
    }
    static void OnSensor(void*, float, float, float) {}
    static void OnText(void* self, const char* text) { DiscardLine(&static_cast<FuzzHost*>(self)->characters, text); }
    static void OnNotice(void* self, int32_t, int32_t, const char* layout) { OnText(self, layout); }
    static void OnPassThrough(void*) {}
    static int32_t OnShooting(void*, int32_t) { return 1; }

    HostCallbacks Callbacks() {
        HostCallbacks callbacks;
        callbacks.key = &OnKey;
        callbacks.touch = &OnTouch;
        callbacks.touchContext = this;
        callbacks.sensor = &OnSensor;
        callbacks.summary = &OnText;
        callbacks.summaryContext = this;
        callbacks.notice = &OnNotice;
        callbacks.noticeContext = this;
        callbacks.passThrough = &OnPassThrough;
        callbacks.shooting = &OnShooting;
        callbacks.logSink = &OnLog;
        callbacks.logContext = this;
        return callbacks;
    }
};

class EngineSession {
public:
    explicit EngineSession(FuzzInput& input) : input_(input) {
        EngineSettings settings;
        settings.defaultConfigPath = CorpusKeymaps().front();
        settings.verbose = true;
        settings.screenWidth = 1920;
        settings.screenHeight = 1080;
        engine_ = std::make_unique<Engine>(host_.Callbacks(), settings, EngineOptions{&clock_, true});
    }

    std::string Run() {
        while (!input_.Empty() && problems_.empty()) {
            const uint8_t opcode = input_.Byte();
            if (host_.trace) {
                std::fprintf(stderr, "operation %zu: opcode %u at %llu ms\n", operations_, opcode % kOperationCount,
                             static_cast<unsigned long long>(clock_.Now()));
            }
            Operation(opcode);
            RunDue();
            Expect(CheckSlotAccounting(*engine_), "after operation " + std::to_string(operations_));
            ++operations_;
        }
        if (problems_.empty()) Finish();
        return problems_ + host_.problems;
    }

private:
    void Expect(const std::string& found, const std::string& when) {
        if (!found.empty()) problems_ += when + ":\n" + found;
    }

    void RunDue() { engine_->scheduler().AdvanceBy(0); }

    void Finish() {
        // A stick held off centre keeps its pad ticking; without pads the
        // queue must come to an end.
        DetachAllPads();
        RunDue();
        Expect(CheckSlotAccounting(*engine_), "after the pads were detached");
        Expect(DrainManualQueue(*engine_, kDrainTaskLimit, kDrainHorizonMs), "draining at the end");
        Expect(CheckSlotAccounting(*engine_), "after the queue drained");
        Load(0);
    }

    uint32_t PickKey() {
        std::vector<uint32_t> keys(std::begin(kUsualKeys), std::end(kUsualKeys));
        for (const auto& [keySet, actions] : engine_->config().mKeyRules)
            keys.insert(keys.end(), keySet.begin(), keySet.end());
        const uint8_t choice = input_.Byte();
        return choice < 0xF8 ? keys[choice % keys.size()] : input_.Dword();
    }

    uint32_t PickController() {
        std::vector<uint32_t> codes;
        for (const auto& [code, key] : engine_->config().mControllerKeys) codes.push_back(code);
        const uint8_t choice = input_.Byte();
        return codes.empty() || choice >= 0xF0 ? input_.Dword() : codes[choice % codes.size()];
    }

    void Load(uint8_t choice) {
        const std::vector<WideString>& keymaps = CorpusKeymaps();
        static const WideString missing = SourceTreePath("examples/com.example.missing.cfg");
        const WideString& primary = choice % 8 == 7 ? missing : keymaps[choice % keymaps.size()];
        const WideString& second = keymaps[(choice / 8) % keymaps.size()];
        engine_->LoadConfig(second.c_str(), primary.c_str(), "com.example.fuzz");
        RunDue();
        Expect(CheckFreshPool(*engine_), "after loading keymap choice " + std::to_string(choice));
    }

    void LoadInline() {
        const std::string_view text = input_.Chunk();
        const WideString path =
            WriteInputFile("com.example.inline.cfg", reinterpret_cast<const uint8_t*>(text.data()), text.size());
        engine_->LoadConfig(path.c_str(), path.c_str(), "com.example.inline");
        RunDue();
        Expect(CheckFreshPool(*engine_), "after loading an inline keymap");
    }

    void Advance() {
        const uint8_t amount = input_.Byte();
        Millis delta = amount;
        if (amount >= 0xC0) delta = Millis{amount - 0xC0u} * 250;  // up to about 16 s
        engine_->AdvanceBy(delta);
    }

    static constexpr uint8_t kOperationCount = 20;

    void Operation(uint8_t opcode) {
        switch (opcode % kOperationCount) {
            case 0:
            case 1:
            case 2:
                engine_->HandleKey(PickKey(), input_.Bit());
                break;
            case 3:
                engine_->HandleController(PickController(), input_.Bit());
                break;
            case 4:
                engine_->HandleCharacter(static_cast<char>(input_.Byte()));
                break;
            case 5:
            case 6: {
                const uint8_t choice = input_.Byte();
                const int32_t message =
                    choice < 0xF0 ? kMouseMessages[choice % std::size(kMouseMessages)] : input_.Int();
                const float x = input_.Fraction();
                const float y = input_.Fraction();
                engine_->UpdateMouseStatus(x, y, message, input_.Bit() ? input_.Dword() : 0);
                break;
            }
            case 7:
            case 8:
            case 9:
                Advance();
                break;
            case 10:
                GamePadOperation();
                break;
            case 11:
                GestureOperation();
                break;
            case 12:
                EmulationOperation();
                break;
            case 13:
                KnobOperation();
                break;
            case 14:
                StateOperation();
                break;
            case 15:
                Load(input_.Byte());
                break;
            case 16:
                LoadInline();
                break;
            case 17: {
                const float x = input_.Fraction();
                const float y = input_.Fraction();
                engine_->HandleShake(x, y, input_.Fraction());
                break;
            }
            case 18: {  // on to the next task, wherever it is due
                Millis due = 0;
                if (engine_->scheduler().NextDueTime(due) && due > clock_.Now()) engine_->AdvanceTo(due);
                break;
            }
            default:
                GamePadOperation();
                break;
        }
    }

    // Pads 0 to 3, of the kinds the shipped database knows, one it does not
    // (the generic entry), and one whose database is missing.
    void GamePadOperation() {
        static const WideString database = SourceTreePath("examples/gamepads.db");
        static const WideString missing = SourceTreePath("examples/missing.db");
        const uint8_t choice = input_.Byte();
        const int32_t id = choice & 3;
        switch ((choice >> 2) % 4) {
            case 0: {
                constexpr uint32_t kPads[][2] = {
                    {0x045e, 0x028e}, {0x054c, 0x05c4}, {0x0079, 0x0011}, {0x1234, 0x5678}};
                const uint8_t kind = input_.Byte();
                const auto& pad = kPads[kind % std::size(kPads)];
                engine_->AttachGamePad(id, pad[0], pad[1], (kind & 0x80) != 0 ? missing.c_str() : database.c_str());
                break;
            }
            case 1:
            case 2: {
                GamePad::Report report{};
                int32_t* values = &report.x;
                for (int i = 0; i < 8; ++i) values[i] = ReportValue();
                engine_->UpdateGamePad(id, &report);
                break;
            }
            default:
                engine_->DetachGamePad(id);
                break;
        }
    }

    // An axis, hat or button word: mostly the values pads send, sometimes any.
    int32_t ReportValue() {
        constexpr int32_t kValues[] = {0, 1000, -1000, 600, -600, 90, 180, 270, -1, 0x1, 0x2, 0x10, 0xFFF};
        const uint8_t choice = input_.Byte();
        return choice < 0xF0 ? kValues[choice % std::size(kValues)] : input_.Int();
    }

    void DetachAllPads() {
        for (int32_t id = 0; id < 4; ++id) engine_->DetachGamePad(id);
    }

    void GestureOperation() {
        const uint8_t choice = input_.Byte() % 6;
        const float a = input_.Fraction();
        const float b = input_.Fraction();
        switch (choice) {
            case 0:
                engine_->ScrollBegin(a, b);
                break;
            case 1:
                engine_->ScrollUpdate(a - 0.5f, b - 0.5f);
                break;
            case 2:
                engine_->ScrollEnd();
                break;
            case 3:
                engine_->ZoomBegin(a, b);
                break;
            case 4:
                engine_->ZoomUpdate(a * 2.0f);
                break;
            default:
                engine_->ZoomEnd();
                break;
        }
    }

    void EmulationOperation() {
        const uint8_t choice = input_.Byte() % 3;
        const float x = input_.Fraction();
        const float y = input_.Fraction();
        if (choice == 0) {
            engine_->EmulateSwipe(x, y, static_cast<int32_t>(input_.Byte() % 6));
        } else if (choice == 1) {
            const float x2 = input_.Fraction();
            engine_->EmulateSwipeXY(x, y, x2, input_.Fraction());
        } else {
            engine_->EmulatePinch(x, y, input_.Bit() ? 1 : 0);
        }
    }

    // Any duration: the engine refuses those over 10 s; on the manual clock an
    // emulated gesture only moves the clock, and the pads do not make up the
    // ticks it jumped over.
    void KnobOperation() {
        if (input_.Bit()) {
            const float length = input_.Fraction();
            engine_->SetEmulatedSwipeKnobs(length, input_.Count());
        } else {
            const float split = input_.Fraction();
            const float lengthIn = input_.Fraction();
            const float lengthOut = input_.Fraction();
            engine_->SetEmulatedPinchKnobs(split, lengthIn, lengthOut, static_cast<int32_t>(input_.Count()));
        }
    }

    void StateOperation() {
        switch (input_.Byte() % 4) {
            case 0:
                engine_->SetKeyMappingState(static_cast<int32_t>(input_.Byte()) - 1);
                break;
            case 1:
                engine_->SetForwardRawKeys(input_.Bit());
                break;
            case 2:
                engine_->IsLocationUpdationWithKeyMapEnabled();
                break;
            default: {
                const std::string_view locale = input_.Chunk();
                engine_->SetLocale(std::string(locale).c_str());
                break;
            }
        }
    }

    FuzzInput& input_;
    ManualClock clock_{1000};
    FuzzHost host_;
    std::unique_ptr<Engine> engine_;
    std::string problems_;
    size_t operations_ = 0;
};

}  // namespace

std::string RunEngineInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    EngineSession session(input);
    return session.Run();
}

}  // namespace Keyweave::Fuzz
