#pragma once
// An engine on a manual clock with a keymap of the test's own: the fixture of
// the end-to-end input tests. A test writes keymap text, drives the engine
// through its host-facing operations (Press, Mouse: each followed by the
// tasks due at once) and reads what the host received,
// relative to the moment the keymap was loaded:
//
//     Load("[keys]\nA = Tap (50,50)\n");
//     Press(kA);
//     EXPECT_TRUE(SameRows(Rows(), {{0, 0, 0.5f, 0.5f, true}}));

#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"
#include "support/timeline.h"

namespace Keyweave::Testing {

// One scan-code byte the host received, at a time relative to the origin.
struct TimedByte {
    int64_t time;
    uint8_t byte;
    friend bool operator==(const TimedByte&, const TimedByte&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const TimedByte& key) {
    return out << "{" << key.time << ", 0x" << std::hex << static_cast<int>(key.byte) << std::dec << "}";
}

class KeymapEngineTest : public ::testing::Test {
protected:
    // Writes `text` as the keymap of a package and loads it; then forgets
    // everything the host received so far and makes now the origin.
    void Load(std::string_view text) {
        const WideString path = scratch_.Write("com.example.game.cfg", text);
        engine().LoadConfig(path.c_str(), path.c_str(), "com.example.game");
        ResetRecords();
    }
    void ResetRecords() {
        host().ClearRecords();
        origin_ = fixture_.clock.Now();
    }

    Engine& engine() { return *fixture_.engine; }
    RecordingHost& host() { return fixture_.host; }
    Scheduler& scheduler() { return engine().scheduler(); }
    // Milliseconds since the origin.
    int64_t Elapsed() const { return static_cast<int64_t>(fixture_.clock.Now() - origin_); }
    Millis origin() const { return origin_; }

    // Each host call is followed by what the scheduler thread would run at
    // once: the tasks due now.
    void Press(uint32_t key) {
        engine().HandleKey(key, true);
        RunDue();
    }
    void Release(uint32_t key) {
        engine().HandleKey(key, false);
        RunDue();
    }
    void Tap(uint32_t key) {
        Press(key);
        Release(key);
    }
    void Mouse(float x, float y, int32_t message, uint32_t parameter = 0) {
        engine().UpdateMouseStatus(x, y, message, parameter);
        RunDue();
    }
    // Runs the tasks due now.
    void RunDue() { scheduler().AdvanceBy(0); }
    // Moves the clock to `ms` after the origin, running what falls due.
    void AdvanceTo(int64_t ms) { scheduler().AdvanceTo(origin_ + static_cast<Millis>(ms)); }
    // Runs everything still queued.
    void RunAll() {
        while (scheduler().Step()) {
        }
    }

    // The contacts that changed, relative to the origin.
    std::vector<ContactRow> Rows() const { return ChangedContacts(fixture_.host.Frames(), origin_); }
    std::vector<TimedByte> Bytes() const {
        std::vector<TimedByte> bytes;
        for (const KeyByte& key : fixture_.host.Keys())
            bytes.push_back({static_cast<int64_t>(key.time - origin_), key.byte});
        return bytes;
    }
    bool Logged(const std::string& line) const { return fixture_.host.HasLog(line); }

    ManualEngine fixture_;
    ScratchDir scratch_;
    Millis origin_ = fixture_.clock.Now();
};

}  // namespace Keyweave::Testing
