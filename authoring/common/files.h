#pragma once
// Whole files by UTF-8 path, in binary mode, on every system.

#include <string>
#include <string_view>

namespace Keyweave::Tool {

// Writes `text` to a new file at `path`; false when it cannot be written.
[[nodiscard]] bool WriteFile(const std::string& path, std::string_view text);

// Reads the whole file at `path`; false when it cannot be opened or read.
[[nodiscard]] bool ReadFile(const std::string& path, std::string& text);

}  // namespace Keyweave::Tool
