#pragma once
// A temporary directory for one test, removed with everything in it when the
// test ends; files are written byte for byte and named by UTF-8 names.

#include <filesystem>
#include <string>
#include <string_view>

#include "base/text.h"

namespace Keyweave::Testing {

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Writes `content` to `name` (UTF-8, may hold non-ASCII characters and
    // sub-directories, which are created) and returns its UTF-16 path.
    WideString Write(const std::string& name, std::string_view content) const;
    // The UTF-16 path `name` would have, without creating anything.
    WideString PathOf(const std::string& name) const;
    // The same path in UTF-8, as a command line would give it.
    std::string Utf8PathOf(const std::string& name) const { return ToUtf8(PathOf(name)); }

private:
    std::filesystem::path root_;
};

}  // namespace Keyweave::Testing
