// Fuzz target: one keymap file, through the loader the engine uses.
#include <set>

#include "config/config_loader.h"
#include "config/dump.h"
#include "config/emulation_knobs.h"
#include "fuzz_targets.h"
#include "input_file.h"
#include "sensors/accelerometer.h"

namespace Keyweave::Fuzz {

namespace {

// Every action a loaded configuration points at must be one it owns.
std::string CheckReferences(const Config& config) {
    std::set<const Action*> owned;
    config.ForEachRecord([&](const Action& action) { owned.insert(&action); });
    std::string problems;
    auto check = [&](const Action* action, const char* where) {
        if (action != nullptr && owned.count(action) == 0) {
            problems += std::string("a ") + where + " points at an action the configuration does not own\n";
        }
    };
    for (const auto& [keys, actions] : config.mKeyRules) {
        for (const Action* action : actions) check(action, "key rule");
    }
    for (const auto& [control, action] : config.mGamePadActions) check(action, "game-pad rule");
    check(config.mScreenCenter, "screen centre");
    return problems;
}

}  // namespace

std::string RunKeymapInput(const uint8_t* data, size_t size) {
    const WideString path = WriteInputFile("com.example.fuzz.cfg", data, size);
    size_t characters = 0;
    Log log;
    log.SetSink(&DiscardLine, &characters, true);
    EmulationKnobs knobs;
    Accelerometer accelerometer(nullptr, nullptr, log);
    // A locale of its own, so that a [strings.en_us] section is kept.
    const ParseContext context{log, "en_us", &knobs, &accelerometer};
    const std::unique_ptr<Config> config = LoadConfig(path.c_str(), context);
    if (config == nullptr) return {};
    const std::string summary = SummaryText(*config);
    characters += summary.size();
    return CheckReferences(*config);
}

}  // namespace Keyweave::Fuzz
