#include "keymap_fixture.h"

namespace Keyweave::Testing {

KeymapTest::KeymapTest() {
    host.Attach(log);
    const HostCallbacks callbacks = host.Callbacks();
    accelerometer = std::make_unique<Accelerometer>(callbacks.sensor, callbacks.sensorContext, log);
    accelerometer->RestoreTiltDefaults();  // as every keymap load starts
    host.ClearRecords();
}

bool KeymapTest::Load(std::string_view content) {
    const WideString path = Write(content);
    host.ClearRecords();
    config = std::make_unique<Config>();
    Config::Parser parser(*config, Context());
    return parser.Load(path.c_str());
}

const Action* ActionTest::Bind(std::string_view text) {
    EXPECT_TRUE(Load("[keys]\nA = " + std::string(text) + "\n"));
    const ActionSet& actions = config->GetActions({kA});
    if (actions.empty()) return nullptr;
    EXPECT_EQ(actions.size(), 1u);
    return *actions.begin();
}

Lines ActionTest::Failed(std::string_view text, const Lines& middle) {
    Lines lines = middle;
    const std::string rule = "A = " + std::string(text);
    lines.push_back("Cannot parse keys rule: " + rule);
    lines.push_back("Cannot process line: " + rule);
    return lines;
}

}  // namespace Keyweave::Testing
