#pragma once
// What the host receives while a script plays, in the order it arrives: a
// host whose callbacks write one event per touch contact that changed, per
// scan-code byte, sensor vector, summary, game-pad notice, shooting-mode
// call, mouse pass-through and log line, stamped with the manual clock.
//
// The touch callback receives whole frames (16 contacts, or the first one or
// two for scroll and zoom); the recorder keeps the last state of every
// contact and writes an event only for contacts whose position or down flag
// changed, so a frame that repeats what the screen already shows adds
// nothing.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/decision.h"
#include "engine/host_callbacks.h"

namespace Keyweave::Tool {

// What the host last saw of every contact: a frame's contacts whose position
// or down flag differ from it are its changes. The recorder below and the
// tests' timelines both follow frames with it.
class ContactTracker {
public:
    struct Change {
        int32_t slot;
        KeyweaveTouchPoint now;
        bool wasDown;
    };
    // The changes of a frame of `count` contacts (at most the 16 of a full
    // frame), in slot order; they become what was last seen.
    [[nodiscard]] std::vector<Change> Follow(const KeyweaveTouchPoint* points, uint32_t count);

private:
    std::array<KeyweaveTouchPoint, KEYWEAVE_TOUCH_POINTS> known_{};  // all up at (0, 0) at first
};

struct TimelineEvent {
    enum class Kind { kInput, kTouch, kKey, kSensor, kSummary, kNotice, kShooting, kPassThrough, kLog, kWhy };

    Kind kind = Kind::kLog;
    int64_t time = 0;  // ms since the keymap was loaded
    // kInput: the script line and its command. kSummary, kLog: the text.
    // kNotice: the layout name.
    uint32_t line = 0;
    std::string text;
    // kTouch: one contact, positions as fractions of the screen.
    int32_t slot = 0;
    float x = 0.0f, y = 0.0f;
    bool down = false;
    bool wasDown = false;
    // kKey: one scan-code byte; `code` is the key it belongs to (0xE0xx
    // after an E0 prefix), 0 for the prefix itself.
    uint8_t byte = 0;
    uint32_t code = 0;
    // kSensor: the vector.
    float vector[3] = {0.0f, 0.0f, 0.0f};
    // kNotice: pad id and event (1 attached, 2 detached). kShooting: the code
    // the engine sent and what the host answered.
    int32_t pad = 0;
    int32_t value = 0;
    int32_t answer = 0;
    // kWhy: one decision of the engine. `text` is its line, `reason` its
    // stable name, `line` the rule's line (0: none), `keys` the rule's key
    // set ("Ctrl+Q"; empty: none), `slot` the touch slot (-1: none).
    std::string reason;
    std::string keys;
};

class TimelineRecorder {
public:
    TimelineRecorder(const Clock& clock, Millis origin) : clock_(clock), origin_(origin) {}

    [[nodiscard]] HostCallbacks Callbacks();

    // Nothing is written before Start (the engine's own start-up), though
    // the contacts are followed from the first frame on.
    void Start() { recording_ = true; }
    // While a keymap loads, log lines are written only when they say which
    // file is loaded or what went wrong ("Loading...", "Cannot..."), unless
    // every line is wanted.
    void SetLoading(bool loading) { loading_ = loading; }
    void SetEveryLogLine(bool every) { everyLogLine_ = every; }
    // What the host answers to the engine's shooting-mode calls; 1 at first.
    void SetShootingAnswer(int32_t answer) { shootingAnswer_ = answer; }

    // A script command, written before what it causes.
    void NoteInput(uint32_t line, const std::string& text);

    // The events from the `from`th on (all of them by default).
    [[nodiscard]] std::vector<TimelineEvent> Events(size_t from = 0) const;

    // The callbacks' entry points (see CallbacksFor).
    static void OnKey(void* self, uint8_t byte);
    static void OnTouch(void* self, const KeyweaveTouchPoint* points, uint32_t count, uint32_t flag);
    static void OnSensor(void* self, float x, float y, float z);
    static void OnSummary(void* self, const char* text);
    static void OnNotice(void* self, int32_t pad, int32_t event, const char* layout);
    static void OnPassThrough(void* self);
    [[nodiscard]] static int32_t OnShooting(void* self, int32_t code);
    static void OnLog(void* self, const char* line);
    // A decision of the engine's trace (Engine::SetDecisionObserver).
    static void OnDecision(void* self, const Decision& decision);

private:
    [[nodiscard]] int64_t Now() const { return static_cast<int64_t>(clock_.Now() - origin_); }
    void Add(TimelineEvent event);  // caller holds mutex_

    const Clock& clock_;
    const Millis origin_;
    mutable std::mutex mutex_;  // the engine may call from its threads
    bool recording_ = false;
    bool loading_ = false;
    bool everyLogLine_ = false;
    int32_t shootingAnswer_ = 1;
    ContactTracker contacts_;            // guarded by mutex_
    bool afterPrefix_ = false;           // guarded by mutex_
    std::vector<TimelineEvent> events_;  // guarded by mutex_
};

}  // namespace Keyweave::Tool
