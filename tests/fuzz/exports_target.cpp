// Fuzz target: the exported functions themselves, called as a careless host
// calls them: in any order (before KeyweaveInit, KeyweaveInit again, after
// KeyweaveFini) and with any values (NaN, infinities, huge and negative
// numbers, any bits at all). The functions are linked into the fuzz program
// and drive a fresh interface per input, on a manual clock
// (CurrentInterface below).
//
// What must hold:
//  - every contact the host receives is at a finite position; in the frames
//    of the dispatcher none lies farther than kFarthest from the screen,
//    but for the end point of a swipe between two points (which is taken as
//    it is) and entries 0 and 1 while a scroll or zoom runs (their updates
//    are not clamped either);
//  - every callback gets the context of the first KeyweaveInit;
//  - an emulated gesture returns within kLongestGestureMs of manual time;
//  - calls before KeyweaveInit are reported once per function, none later;
//  - the slot accounting holds after every operation;
//  - at the end, once the host has let go of everything it held (keys,
//    buttons, gestures, pads) and the queue has drained, no contact is down
//    in a free slot; a last load leaves every contact of the pool up.
//
// With KEYWEAVE_FUZZ_TRACE set in the environment, a run prints its
// operations and the engine's log lines to standard error.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "api/host_interface.h"
#include "engine/argument_checks.h"
#include "engine_invariants.h"
#include "fuzz_input.h"
#include "fuzz_targets.h"
#include "input_file.h"
#include "keyweave/keyweave.h"

namespace Keyweave {

namespace Fuzz {
namespace {

// Positions the host may pass lie at most a screen beyond an edge, and
// mouse-look drifts by at most 1.5 screens a move (sensitivity 1 at most,
// fewer than 1000 moves in an input of 4096 bytes): far below this.
constexpr float kFarthest = 1e4f;

// The session of the input running now: the log and early-call sinks have no
// context of their own.
class ExportsSession;
ExportsSession* gSession = nullptr;
std::unique_ptr<HostInterface> gInterface;

// One set of callbacks, checked as they arrive. `later` marks the set passed
// to a later KeyweaveInit, which must never be called.
struct Host {
    bool later = false;
    static void OnKey(void* self, uint8_t);
    static void OnTouch(void* self, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag);
    static void OnSensor(void* self, float, float, float);
    static void OnSummary(void* self, const char* text);
    static void OnNotice(void* self, int32_t, int32_t, const char* layout);
    static void OnPassThrough(void* self);
    static int32_t OnShooting(void* self, int32_t);
};

// Screens as hosts have them, and sizes that give no aspect ratio.
constexpr int32_t kScreens[][2] = {{1920, 1080}, {1080, 2400}, {1280, 720}, {2560, 1600}, {0, 0}, {-1, 720}};

class ExportsSession {
public:
    explicit ExportsSession(FuzzInput& input) : input_(input) {
        gSession = this;
        gInterface = std::make_unique<HostInterface>(EngineOptions{&clock_, true}, &ExportsSession::OnEarlyCall);
    }
    ~ExportsSession() {
        gInterface.reset();
        gSession = nullptr;
    }

    std::string Run() {
        while (!input_.Empty() && problems_.empty()) {
            const uint8_t opcode = input_.Byte();
            if (trace_) {
                std::fprintf(stderr, "operation %zu: opcode %u at %llu ms\n", operations_, opcode % kOperationCount,
                             static_cast<unsigned long long>(clock_.Now()));
            }
            Operation(opcode);
            if (Engine* engine = gInterface->engine()) {
                engine->scheduler().AdvanceBy(0);
                Expect(CheckSlotAccounting(*engine), "after operation " + std::to_string(operations_));
            }
            ++operations_;
        }
        if (problems_.empty()) Finish();
        return problems_;
    }

    void Problem(const std::string& problem) { problems_ += problem + "\n"; }
    void CheckContext(const Host* host, const char* callback) {
        if (host->later) Problem(std::string("the ") + callback + " callback got a later KeyweaveInit's context");
    }
    void CheckFrame(const KeyweaveTouchPoint* points, uint32_t count);
    // With tracing on: the contacts a frame holds down.
    void TraceFrame(const KeyweaveTouchPoint* points, uint32_t count) const {
        if (!trace_ || points == nullptr) return;
        std::string down;
        for (uint32_t i = 0; i < count; ++i) {
            if (points[i].down == 1) down += " " + std::to_string(i);
        }
        std::fprintf(stderr, "  touch frame, down:%s\n", down.empty() ? " none" : down.c_str());
    }

private:
    static constexpr uint8_t kOperationCount = 18;

    static void OnLog(const char* line) {
        if (gSession->trace_) std::fprintf(stderr, "  | %s\n", line);
        DiscardLine(&gSession->characters_, line);
    }
    static void OnEarlyCall(const char* line) {
        ExportsSession& session = *gSession;
        if (session.trace_) std::fprintf(stderr, "  early: %s\n", line);
        if (gInterface->engine() != nullptr) session.Problem(std::string("after KeyweaveInit: ") + line);
        if (!session.earlyLines_.insert(line).second) session.Problem(std::string("twice: ") + line);
    }

    void Expect(const std::string& found, const std::string& when) {
        if (!found.empty()) problems_ += when + ":\n" + found;
    }

    // ---- Values ----

    // Mostly a fraction of the screen and the numbers around it, often a
    // value no host should send, sometimes any bits at all.
    float AnyFloat() {
        static constexpr float kWild[] = {std::numeric_limits<float>::quiet_NaN(),
                                          -std::numeric_limits<float>::quiet_NaN(),
                                          std::numeric_limits<float>::infinity(),
                                          -std::numeric_limits<float>::infinity(),
                                          std::numeric_limits<float>::max(),
                                          -std::numeric_limits<float>::max(),
                                          1e30f,
                                          -3.5e31f,
                                          7.0f,
                                          -5.0f,
                                          640.0f,
                                          2.0000002f,
                                          -1.0000001f,
                                          -0.0f,
                                          std::numeric_limits<float>::denorm_min(),
                                          3e38f};
        const uint8_t choice = input_.Byte();
        if (choice < 0xC0) return input_.Fraction();
        if (choice < 0xF0) return kWild[choice % std::size(kWild)];
        const uint32_t bits = input_.Dword();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // Milliseconds on both sides of the longest gesture, or any 32 bits.
    uint32_t AnyDuration() {
        const uint8_t choice = input_.Byte();
        return choice < 0xE0 ? choice * 50u : input_.Dword();
    }

    int32_t AnyFlag() { return input_.Bit() ? (input_.Bit() ? 1 : 0) : input_.Int(); }

    uint32_t PickKey(Engine& engine) {
        std::vector<uint32_t> keys(std::begin(kUsualKeys), std::end(kUsualKeys));
        for (const auto& [keySet, actions] : engine.config().mKeyRules)
            keys.insert(keys.end(), keySet.begin(), keySet.end());
        const uint8_t choice = input_.Byte();
        return choice < 0xF8 ? keys[choice % keys.size()] : input_.Dword();
    }

    uint32_t PickController(Engine& engine) {
        std::vector<uint32_t> codes;
        for (const auto& [code, key] : engine.config().mControllerKeys) codes.push_back(code);
        const uint8_t choice = input_.Byte();
        return codes.empty() || choice >= 0xF0 ? input_.Dword() : codes[choice % codes.size()];
    }

    // ---- Operations: each calls the exported functions ----

    void Operation(uint8_t opcode) {
        Engine* engine = gInterface->engine();
        switch (opcode % kOperationCount) {
            case 0:
                Init();
                break;
            case 1:
                KeyweaveFini();
                break;
            case 2:
                Load(input_.Byte());
                break;
            case 3:
            case 4: {
                const uint32_t key = engine != nullptr ? PickKey(*engine) : input_.Dword();
                const int32_t pressed = AnyFlag();
                KeyweaveHandleKey(key, pressed);
                if (pressed != 0) heldKeys_.insert(key);
                break;
            }
            case 5: {
                const uint32_t code = engine != nullptr ? PickController(*engine) : input_.Dword();
                const int32_t pressed = AnyFlag();
                KeyweaveHandleController(nullptr, code, pressed);
                if (pressed != 0) heldControllers_.insert(code);
                break;
            }
            case 6:
                KeyweaveHandleCharacter(static_cast<char>(input_.Byte()));
                break;
            case 7:
            case 8: {
                const uint8_t choice = input_.Byte();
                const int32_t message =
                    choice < 0xF0 ? kMouseMessages[choice % std::size(kMouseMessages)] : input_.Int();
                const float x = AnyFloat();
                const float y = AnyFloat();
                KeyweaveUpdateMouseStatus(x, y, message, input_.Bit() ? input_.Dword() : 0);
                break;
            }
            case 9: {
                const float x = AnyFloat();
                const float y = AnyFloat();
                KeyweaveHandleShakeAction(x, y, AnyFloat());
                break;
            }
            case 10:
                Gesture();
                break;
            case 11:
                Emulation();
                break;
            case 12:
                Knobs();
                break;
            case 13:
                Settings();
                break;
            case 14:
                GamePad();
                break;
            case 15:
            case 16:
                Advance();
                break;
            default: {  // on to the next task, wherever it is due
                Millis due = 0;
                if (engine != nullptr && engine->scheduler().NextDueTime(due) && due > clock_.Now()) {
                    engine->AdvanceTo(due);
                }
                break;
            }
        }
    }

    void Init() {
        // The first call's callbacks are the host's; a later call's must
        // never be called.
        Host& callbacks = gInterface->engine() == nullptr ? host_ : laterHost_;
        const int32_t* screen = kScreens[input_.Byte() % std::size(kScreens)];
        static const WideString defaultKeymap = CorpusKeymaps().front();
        KeyweaveInit(&Host::OnKey, &callbacks, &Host::OnTouch, &callbacks, &Host::OnSensor, &callbacks,
                     &Host::OnSummary, &callbacks, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &Host::OnNotice, &callbacks, &Host::OnPassThrough, &callbacks, &Host::OnShooting, &callbacks,
                     defaultKeymap.c_str(), &ExportsSession::OnLog, AnyFlag(), screen[0], screen[1]);
    }

    void Load(uint8_t choice) {
        const std::vector<WideString>& keymaps = CorpusKeymaps();
        static const WideString missing = SourceTreePath("examples/com.example.missing.cfg");
        const WideString& primary = choice % 8 == 7 ? missing : keymaps[choice % keymaps.size()];
        const WideString& second = keymaps[(choice / 8) % keymaps.size()];
        KeyweaveLoadConfig(second.c_str(), primary.c_str(), "com.example.fuzz");
    }

    void Gesture() {
        const uint8_t choice = input_.Byte() % 6;
        const float a = AnyFloat();
        const float b = AnyFloat();
        switch (choice) {
            case 0:
                KeyweaveScrollBegin(a, b);
                break;
            case 1:
                KeyweaveScrollUpdate(a, b);
                break;
            case 2:
                KeyweaveScrollEnd();
                break;
            case 3:
                KeyweaveZoomBegin(a, b);
                break;
            case 4:
                KeyweaveZoomUpdate(a * 2.0f);
                break;
            default:
                KeyweaveZoomEnd();
                break;
        }
    }

    void Emulation() {
        const uint8_t choice = input_.Byte() % 3;
        const float x = AnyFloat();
        const float y = AnyFloat();
        const Millis before = clock_.Now();
        if (choice == 0) {
            KeyweaveEmulateSwipe(x, y, input_.Bit() ? static_cast<int32_t>(input_.Byte() % 6) : input_.Int());
        } else if (choice == 1) {
            const float x2 = AnyFloat();
            const float y2 = AnyFloat();
            // The end point is taken as it is: the finger may go that far.
            if (std::isfinite(x2) && std::isfinite(y2)) {
                farthest_ = std::max({farthest_, std::fabs(x2) + 1.0f, std::fabs(y2) + 1.0f});
            }
            KeyweaveEmulateSwipeXY(x, y, x2, y2);
        } else {
            KeyweaveEmulatePinch(x, y, AnyFlag());
        }
        const Millis took = clock_.Now() - before;
        if (took > static_cast<Millis>(kLongestGestureMs)) {
            Problem("an emulated gesture held its caller for " + std::to_string(took) + " ms");
        }
    }

    void Knobs() {
        if (input_.Bit()) {
            const float length = AnyFloat();
            KeyweaveSetEmulatedSwipeKnobs(length, AnyDuration());
        } else {
            const float split = AnyFloat();
            const float lengthIn = AnyFloat();
            const float lengthOut = AnyFloat();
            KeyweaveSetEmulatedPinchKnobs(split, lengthIn, lengthOut, static_cast<int32_t>(AnyDuration()));
        }
    }

    void Settings() {
        switch (input_.Byte() % 6) {
            case 0:
                KeyweaveSetKeyMappingState(input_.Int());
                break;
            case 1:
                KeyweaveSetForwardRawKeys(input_.Int());
                break;
            case 2:
                KeyweaveIsLocationUpdationWithKeyMapEnabled();
                break;
            case 3: {
                const std::string_view locale = input_.Chunk();
                KeyweaveSetLocale(input_.Bit() ? std::string(locale).c_str() : nullptr);
                break;
            }
            case 4:
                if (GetParserVersion() != KEYWEAVE_PARSER_VERSION) Problem("GetParserVersion did not return 4");
                break;
            default: {
                const std::vector<WideString>& keymaps = CorpusKeymaps();
                const WideString& path = keymaps[input_.Byte() % keymaps.size()];
                if (WildCardConfigPath(path.c_str()) == nullptr) Problem("WildCardConfigPath returned null");
                break;
            }
        }
    }

    // Pads 0 to 3, of kinds the shipped database knows and one it does not.
    void GamePad() {
        static const WideString database = SourceTreePath("examples/gamepads.db");
        const uint8_t choice = input_.Byte();
        const int32_t id = choice & 3;
        switch ((choice >> 2) % 4) {
            case 0: {
                constexpr uint32_t kPads[][2] = {
                    {0x045e, 0x028e}, {0x054c, 0x05c4}, {0x0079, 0x0011}, {0x1234, 0x5678}};
                const auto& pad = kPads[input_.Byte() % std::size(kPads)];
                KeyweaveHandleGamePadAttach(id, pad[0], pad[1], database.c_str());
                break;
            }
            case 1:
            case 2: {
                KeyweaveGamePadReport report{};
                int32_t* values = &report.x;
                for (int i = 0; i < 8; ++i)
                    values[i] = input_.Bit() ? input_.Int() : static_cast<int8_t>(input_.Byte()) * 16;
                KeyweaveHandleGamePadUpdate(id, input_.Byte() == 0 ? nullptr : &report);
                break;
            }
            default:
                KeyweaveHandleGamePadDetach(id);
                break;
        }
    }

    void Advance() {
        Engine* engine = gInterface->engine();
        const uint8_t amount = input_.Byte();
        const Millis delta = amount >= 0xC0 ? Millis{amount - 0xC0u} * 250 : amount;
        if (engine != nullptr) {
            engine->AdvanceBy(delta);
        } else {
            clock_.Set(clock_.Now() + delta);
        }
    }

    // The host lets go of everything, the queue runs dry, and no contact is
    // left down in a slot nobody holds.
    void Finish() {
        Engine* engine = gInterface->engine();
        if (engine == nullptr) return;
        for (const uint32_t key : heldKeys_) KeyweaveHandleKey(key, 0);
        for (const uint32_t code : heldControllers_) KeyweaveHandleController(nullptr, code, 0);
        const Point last = engine->mouse().LastPosition();
        KeyweaveUpdateMouseStatus(last.x, last.y, 514, 0);
        KeyweaveUpdateMouseStatus(last.x, last.y, 517, 0);
        KeyweaveScrollEnd();
        KeyweaveZoomEnd();
        for (int32_t id = 0; id < 4; ++id) KeyweaveHandleGamePadDetach(id);
        engine->scheduler().AdvanceBy(0);
        Expect(DrainManualQueue(*engine, 200000, Millis{400} * 24 * 60 * 60 * 1000), "draining at the end");
        Expect(CheckSlotAccounting(*engine), "after the queue drained");
        const TouchFrame& frame = engine->frame();
        for (const uint32_t slot : engine->dispatcher().FreeSlots()) {
            if (frame[slot].down != 0) Problem("slot " + std::to_string(slot) + " is free with its finger down");
        }
        Load(0);
        engine->scheduler().AdvanceBy(0);
        Expect(CheckFreshPool(*engine), "after the last load");
    }

    FuzzInput& input_;
    ManualClock clock_{1000};
    Host host_{false};
    Host laterHost_{true};
    std::string problems_;
    std::set<std::string> earlyLines_;
    std::set<uint32_t> heldKeys_;
    std::set<uint32_t> heldControllers_;
    float farthest_ = kFarthest;
    size_t operations_ = 0;
    size_t characters_ = 0;
    bool trace_ = std::getenv("KEYWEAVE_FUZZ_TRACE") != nullptr;
};

void ExportsSession::CheckFrame(const KeyweaveTouchPoint* points, uint32_t count) {
    if (points == nullptr || count == 0 || count > kTouchPointCount) {
        Problem("a touch report with " + std::to_string(count) + " contacts");
        return;
    }
    Engine* engine = gInterface->engine();
    // Entries 0 and 1 of a scroll or zoom go wherever its updates take them.
    const bool gesture = engine != nullptr && engine->gestures().CurrentGesture() != GestureController::Gesture::None;
    for (uint32_t i = 0; i < count; ++i) {
        const KeyweaveTouchPoint& point = points[i];
        if (point.down > 1) Problem("contact " + std::to_string(i) + " is neither up nor down");
        if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
            Problem("contact " + std::to_string(i) + " is at " + std::to_string(point.x) + ", " +
                    std::to_string(point.y));
        } else if (count == kTouchPointCount && !(gesture && i < 2) &&
                   (std::fabs(point.x) > farthest_ || std::fabs(point.y) > farthest_)) {
            Problem("contact " + std::to_string(i) + " is far off the screen, at " + std::to_string(point.x) + ", " +
                    std::to_string(point.y));
        }
    }
}

void Host::OnKey(void* self, uint8_t) { gSession->CheckContext(static_cast<Host*>(self), "key"); }
void Host::OnTouch(void* self, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag) {
    gSession->CheckContext(static_cast<Host*>(self), "touch");
    if (flag != 0) gSession->Problem("a touch report with flag " + std::to_string(flag));
    gSession->CheckFrame(points, count);
    gSession->TraceFrame(points, count);
}
void Host::OnSensor(void* self, float, float, float) { gSession->CheckContext(static_cast<Host*>(self), "sensor"); }
void Host::OnSummary(void* self, const char* text) {
    gSession->CheckContext(static_cast<Host*>(self), "summary");
    DiscardLine(nullptr, text);
}
void Host::OnNotice(void* self, int32_t, int32_t, const char* layout) {
    gSession->CheckContext(static_cast<Host*>(self), "game-pad notice");
    DiscardLine(nullptr, layout);
}
void Host::OnPassThrough(void* self) { gSession->CheckContext(static_cast<Host*>(self), "pass-through"); }
int32_t Host::OnShooting(void* self, int32_t) {
    gSession->CheckContext(static_cast<Host*>(self), "shooting-mode");
    return 1;
}

}  // namespace

std::string RunExportsInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    ExportsSession session(input);
    return session.Run();
}

}  // namespace Fuzz

HostInterface& CurrentInterface() { return *Fuzz::gInterface; }

}  // namespace Keyweave
