#pragma once
// Running the keyweave command in-process on files of the test's own.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "keyweave/console.h"
#include "keyweave/dispatch.h"

namespace Keyweave::Testing {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun RunTool(const std::vector<std::string>& words) {
    Tool::Console console;
    const int status = Tool::Run(words, console);
    return {status, console.out(), console.err()};
}

// A file of the source tree (examples, test data).
inline std::string SourceFile(std::string_view relative) {
    return std::string(KEYWEAVE_SOURCE_DIR) + "/" + std::string(relative);
}

// A folder of its own for each test, removed afterwards.
class ToolTest : public ::testing::Test {
protected:
    ToolTest() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("keyweave-tool-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    ~ToolTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Writes `text` to a file of the test's folder; its path.
    std::string Write(const std::string& name, std::string_view text) {
        const std::string path = Path(name);
        EXPECT_TRUE(Tool::WriteFile(path, text)) << path;
        return path;
    }
    std::string Path(const std::string& name) const { return (folder_ / name).generic_string(); }
    std::string Read(const std::string& path) const {
        std::string text;
        EXPECT_TRUE(Tool::ReadFile(path, text)) << path;
        return text;
    }

private:
    std::filesystem::path folder_;
};

}  // namespace Keyweave::Testing
