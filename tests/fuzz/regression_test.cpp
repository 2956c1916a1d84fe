// Replays, through each fuzz target, the hostile inputs kept in
// tests/fuzz/regressions/<target>/ (each one crashed, hung or broke an
// invariant once) together with the seeds the fuzzers start from. Under the
// sanitizer build this is where an old finding would come back.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_targets.h"

namespace Keyweave::Fuzz {
namespace {

namespace fs = std::filesystem;
using Target = std::string (*)(const uint8_t*, size_t);

std::vector<fs::path> FilesOf(const fs::path& folder, const std::string& extension = {}) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs every file through the target; returns how many there were.
size_t Replay(Target target, const std::vector<fs::path>& files) {
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::vector<uint8_t> bytes = Contents(file);
        EXPECT_EQ(target(bytes.data(), bytes.size()), "");
    }
    return files.size();
}

const fs::path kSource = KEYWEAVE_SOURCE_DIR;
const fs::path kRegressions = kSource / "tests/fuzz/regressions";

TEST(FuzzRegressionTest, KeymapInputsLoadQuietly) {
    size_t count = Replay(&RunKeymapInput, FilesOf(kRegressions / "keymap"));
    for (const char* folder : {"examples", "docs/images", "tests/tools/data"}) {
        count += Replay(&RunKeymapInput, FilesOf(kSource / folder, ".cfg"));
    }
    EXPECT_GT(count, 4u) << "the keymap seeds went missing";
}

TEST(FuzzRegressionTest, DatabaseInputsReadQuietly) {
    const size_t count =
        Replay(&RunDatabaseInput, FilesOf(kRegressions / "database")) +
        Replay(&RunDatabaseInput, {kSource / "examples/gamepads.db", kSource / "tests/tools/data/pads.db"});
    EXPECT_GE(count, 2u);
}

TEST(FuzzRegressionTest, EngineSessionsKeepTheirInvariants) {
    EXPECT_GE(Replay(&RunEngineInput, FilesOf(kRegressions / "engine")), 1u);
}

TEST(FuzzRegressionTest, CarelessHostsOfTheExportsKeepTheirInvariants) {
    EXPECT_GE(Replay(&RunExportsInput, FilesOf(kRegressions / "exports")), 1u);
}

}  // namespace
}  // namespace Keyweave::Fuzz
