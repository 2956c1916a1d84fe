#pragma once
// Where a command's output goes, and the few things the command needs from the
// operating system beyond the engine's platform layer.
//
// A command writes its regular output and its diagnostics into a Console;
// the entry point copies both to stdout and stderr when the command returns,
// and the tests read them back. Numbers are formatted with the engine's
// locale-independent formatter, so the output is the same everywhere.

#include <cstdio>
#include <string>
#include <string_view>

#include "base/format.h"

namespace Keyweave::Tool {

// printf-style text, formatted by Keyweave::Format (a dot for decimals).
template <typename... Args>
[[nodiscard]] std::string Printf(const char* format, const Args&... args) {
    const size_t length = Format(nullptr, 0, format, args...);
    std::string text(length + 1, '\0');
    Format(text.data(), text.size(), format, args...);
    text.resize(length);
    return text;
}

class Console {
public:
    void Out(std::string_view text) { out_.append(text); }
    void Err(std::string_view text) { err_.append(text); }
    // One line of output / of diagnostics; the line end is added.
    void Line(std::string_view text);
    void ErrorLine(std::string_view text);

    [[nodiscard]] const std::string& out() const { return out_; }
    [[nodiscard]] const std::string& err() const { return err_; }

private:
    std::string out_;
    std::string err_;
};

// The operating system's part (console_posix.cpp, console_win32.cpp).
// Makes stdout and stderr write bytes as they are: no "\r\n" for "\n".
void UseBinaryOutput();
// Opens a file for writing in binary mode by its UTF-8 path. Null on failure.
[[nodiscard]] std::FILE* OpenForWriting(const std::string& path);

// Writes `text` to a new file at `path`; false when it cannot be written.
[[nodiscard]] bool WriteFile(const std::string& path, std::string_view text);

// Reads the whole file at `path`; false when it cannot be opened or read.
bool ReadFile(const std::string& path, std::string& text);

}  // namespace Keyweave::Tool
