#pragma once
// Running the keyweave command in-process on files of the test's own.

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"
#include "console.h"
#include "dispatch.h"
#include "support/scratch_dir.h"

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

// A folder of its own for each test, removed afterwards.
class ToolTest : public ::testing::Test {
protected:
    // Writes `text` to a file of the test's folder; its path.
    std::string Write(const std::string& name, std::string_view text) {
        const std::string path = Path(name);
        EXPECT_TRUE(Tool::WriteFile(path, text)) << path;
        return path;
    }
    // The path a command line would give, with forward slashes everywhere.
    std::string Path(const std::string& name) const {
        std::string path = folder_.Utf8PathOf(name);
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
    std::string Read(const std::string& path) const {
        std::string text;
        EXPECT_TRUE(Tool::ReadFile(path, text)) << path;
        return text;
    }

private:
    ScratchDir folder_;
};

}  // namespace Keyweave::Testing
