#pragma once
// Keymap diagnostics: what a keymap's author should know about a file, read
// with the engine's own reader. Besides the lines the engine rejects (its own
// messages), it warns about what the engine accepts without a word and yet
// does not do as the author meant: points in fractions, keys bound twice,
// chords the engine never matches, directive look-alikes, values it ignores
// or cuts, files it cannot read as text.
//
// Plain computation on text in memory: no file, thread or system call, so
// the same analysis serves the command line and an editor.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Keyweave {
class Config;
}

namespace Keyweave::Diagnostics {

enum class Severity { kError, kWarning };

struct Diagnostic {
    uint32_t line;  // from 1
    Severity severity;
    std::string name;     // the kind: "rejected", "unreadable", or a warning's name
    std::string message;  // for a warning, what happens and how to fix it
    // Where on the line the offending text is: column from 1 and length in
    // bytes of the raw line; 0 when the whole line is meant.
    uint32_t column = 0;
    uint32_t length = 0;
    // For the engine's rejections: the reader's stable name of the message
    // ("bad-point"), which stays when the wording changes.
    std::string cause;
};

struct Report {
    // False when the engine would not load the file at all (a line too long).
    bool readable = true;
    // The engine's rejections and the failure to read, in line order, then
    // the warnings in line order.
    std::vector<Diagnostic> items;
};

// Reads keymap text as the engine reads a keymap file, with the engine
// locale the host sets (empty: none).
[[nodiscard]] Report Analyse(std::string_view text, const std::string& locale);
// The same, keeping what the reader made of the text in `config` (a fresh
// one), for a caller that also draws or plays the keymap: one reading.
[[nodiscard]] Report Analyse(std::string_view text, const std::string& locale, Config& config);

// The name of every kind of warning.
[[nodiscard]] std::span<const std::string_view> WarningNames();

[[nodiscard]] const char* SeverityName(Severity severity);

}  // namespace Keyweave::Diagnostics
