#pragma once
// A keymap test: writes keymap text to a temporary file, loads it into a
// fresh configuration through the parser, and records every log line, sensor
// vector and emulation knob the load touched.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "actions/actions.h"
#include "base/log.h"
#include "base/text.h"
#include "config/config.h"
#include "config/emulation_knobs.h"
#include "config/parse_context.h"
#include "config/parser.h"
#include "sensors/accelerometer.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace Keyweave::Testing {

using Lines = std::vector<std::string>;

// Key codes the tests bind, as the key name table gives them.
inline constexpr uint32_t kA = 30, kS = 31, kCtrl = 29, kSpace = 57;

class KeymapTest : public ::testing::Test {
protected:
    KeymapTest();

    // Writes `content` byte for byte to a file of this test; its UTF-16 path.
    WideString Write(std::string_view content, const std::string& name = "keymap.cfg") {
        return scratch.Write(name, content);
    }
    // Clears the records, then loads `content` into a fresh `config`: Load's
    // result.
    bool Load(std::string_view content);
    // The parse context the loads use.
    ParseContext Context() { return ParseContext{log, locale, &knobs, accelerometer.get()}; }

    Lines Logs() const { return host.Logs(); }

    // The only action bound to `keys`, when it has type `tag`; null (and a
    // failure) otherwise.
    template <typename T>
    const T* Only(const KeySet& keys, ActionType tag) const {
        const ActionSet& actions = config->GetActions(keys);
        if (actions.size() != 1 || (*actions.begin())->type != tag) {
            ADD_FAILURE() << "expected one action of type " << tag << ", found " << actions.size();
            return nullptr;
        }
        return static_cast<const T*>(*actions.begin());
    }

    RecordingHost host;
    Log log;
    EmulationKnobs knobs;
    std::unique_ptr<Accelerometer> accelerometer;
    std::string locale;
    std::unique_ptr<Config> config = std::make_unique<Config>();
    ScratchDir scratch;
};

// Loads "[keys]" and a rule "A = <text>": the action tests' fixture.
class ActionTest : public KeymapTest {
protected:
    // The only action of the rule, or null when the rule failed.
    const Action* Bind(std::string_view text);
    // The log lines of a rule that failed, around what the action logged.
    static Lines Failed(std::string_view text, const Lines& middle);
};

// The trace line a parser function logs on entry.
inline std::string Trace(const std::string& parser, const std::string& args) {
    return "Keyweave::Config::Parser::" + parser + "(" + args + ")";
}

// `action` as the record type of `tag` (a failure when it is not).
template <typename T>
const T& As(const Action* action, ActionType tag) {
    EXPECT_NE(action, nullptr);
    EXPECT_EQ(action ? action->type : 0xFFu, static_cast<uint32_t>(tag));
    return *static_cast<const T*>(action);
}

}  // namespace Keyweave::Testing
