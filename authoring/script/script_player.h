#pragma once
// Plays a script on a real engine: one Keyweave::Engine on a manual clock,
// with a TimelineRecorder as its host. Each command is the host call it
// names, made at the script's current time; "wait" and "at" move the clock
// and run every task and every game-pad tick cycle that falls due on the way,
// at its own time. After the last command, whatever is still queued runs to
// its end (without further game-pad ticks).

#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "common/screen_size.h"
#include "engine/engine.h"
#include "script/script.h"
#include "timeline/timeline.h"

namespace Keyweave::Tool {

struct PlayOptions {
    std::string keymapPath;  // as given; loaded as the primary and the second path
    std::string package;
    std::string locale;  // empty: none set
    ScreenSize screen;
    bool verbose = false;  // every log line, and the game-pad detail lines
    bool explain = false;  // the engine's decisions under each input (why)
};

class ScriptPlayer {
public:
    explicit ScriptPlayer(PlayOptions options);
    ~ScriptPlayer();

    // Loads the keymap at 0 ms, then plays the commands. False when a command
    // cannot be played (going back in time); `error` says which and why.
    [[nodiscard]] bool Play(const std::vector<ScriptCommand>& commands, ScriptError& error);

    // The same, one command at a time, for a host that makes up the script
    // as it goes (the Studio's try-it mode): Begin loads the keymap, each
    // Step plays one command and what it makes due at once, AdvanceTo moves
    // the clock between commands, and Finish runs whatever is still queued.
    void Begin();
    [[nodiscard]] bool Step(const ScriptCommand& command, ScriptError& error);
    // Moves the clock to `time`, running what falls due on the way.
    void AdvanceTo(Millis time);
    void Finish();
    [[nodiscard]] Millis Now() const { return clock_.Now(); }
    // When the next queued task falls due; false when nothing is queued.
    [[nodiscard]] bool NextDue(Millis& due) const;

    [[nodiscard]] const TimelineRecorder& recorder() const { return recorder_; }

    // The manual clock starts where a running system's tick count might be:
    // far from zero, as the engine's timing rules expect.
    static constexpr Millis kClockStart = 1000000;

private:
    [[nodiscard]] bool Run(const ScriptCommand& command, ScriptError& error);
    void Load(const std::string& path, const std::string& package);

    PlayOptions options_;
    ManualClock clock_{kClockStart};
    TimelineRecorder recorder_{clock_, kClockStart};
    std::unique_ptr<Engine> engine_;
    float mouseX_ = 0.0f;  // the last mouse position, fractions
    float mouseY_ = 0.0f;
};

}  // namespace Keyweave::Tool
