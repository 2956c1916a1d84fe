#pragma once
// The words of a play script line: cutting a line into words (blanks apart,
// double quotes around text with escapes, "#" starting a comment), and
// reading a word as a number, a time, a key or one of a few keywords, with
// the message that says why it cannot be read.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Keyweave::Tool {

struct ScriptWord {
    std::string text;
    bool quoted = false;
};
using ScriptWords = std::span<const ScriptWord>;

// Cuts `line` into words. `end` becomes where the command's text ends (the
// start of its comment, or the line's end). False, with a message, for a
// quote that is not closed or a bad escape.
[[nodiscard]] bool SplitScriptLine(std::string_view line, std::vector<ScriptWord>& words, size_t& end,
                                   std::string& error);

// All of `text` as 1 to `digits` hexadecimal digits, without a prefix.
[[nodiscard]] bool ReadHex(std::string_view text, size_t digits, uint32_t& value);

// Reads the words of one command; every failure sets `error` (a message
// starting with "Cannot") and returns false.
struct WordReader {
    const char* usage;  // the command's form, e.g. "wait MS", for Usage()
    std::string& error;

    [[nodiscard]] bool Fail(const std::string& message);
    // "Cannot read this command: write <usage>".
    [[nodiscard]] bool Usage();
    [[nodiscard]] bool Count(ScriptWords words, size_t count);

    [[nodiscard]] bool Float(const ScriptWord& word, float& value);
    // A number in percent, kept as a fraction.
    [[nodiscard]] bool Percent(const ScriptWord& word, float& fraction);
    // Decimal (with an optional sign) or hexadecimal after "0x".
    [[nodiscard]] bool Integer(const ScriptWord& word, int64_t& value);
    [[nodiscard]] bool Int32(const ScriptWord& word, int32_t& value);
    // A time in ms, from 0 to kLongestTimeMs.
    [[nodiscard]] bool Millis(const ScriptWord& word, int64_t& value);
    // A key name as in keymaps, or a scan code.
    [[nodiscard]] bool Key(const ScriptWord& word, uint32_t& code);
    // One of `words`; its index. Usage() otherwise.
    [[nodiscard]] bool Word(const ScriptWord& word, std::initializer_list<const char*> words, size_t& index);
    // "on" or "off".
    [[nodiscard]] bool Switch(const ScriptWord& word, bool& on);
};

}  // namespace Keyweave::Tool
