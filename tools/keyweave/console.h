#pragma once
// Where a command's output goes. A command writes its regular output and its
// diagnostics into a Console; the entry point copies both to stdout and stderr
// when the command returns, and the tests read them back.

#include <string>
#include <string_view>

namespace Keyweave::Tool {

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

}  // namespace Keyweave::Tool
