#include "keymap_fixture.h"

#include <fstream>
#include <random>

namespace Keyweave::Testing {

namespace fs = std::filesystem;

KeymapTest::KeymapTest() {
    const HostCallbacks callbacks = host.Callbacks();
    log.SetSink(callbacks.logSink, callbacks.logContext, false);
    accelerometer = std::make_unique<Accelerometer>(callbacks.sensor, callbacks.sensorContext, log);
    accelerometer->RestoreTiltDefaults();  // as every keymap load starts
    std::random_device random;
    directory_ = fs::temp_directory_path() /
                 ("keyweave-keymap-" + std::to_string(random()) + "-" + std::to_string(random()));
    fs::create_directories(directory_);
    host.ClearRecords();
}

KeymapTest::~KeymapTest() {
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

WideString KeymapTest::Write(std::string_view content, const std::string& name) {
    const fs::path path = directory_ / fs::path(std::u8string(name.begin(), name.end()));
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    file.close();
    EXPECT_TRUE(file) << "cannot write " << name;
    const std::u8string utf8 = path.u8string();
    return ToWide(std::string(utf8.begin(), utf8.end()));
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
