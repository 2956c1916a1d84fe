#pragma once
// What the analysis saw while the engine's reader read a keymap, and the
// checks that turn it into warnings (line_checks.cpp, rule_checks.cpp).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/config.h"
#include "diagnostics/diagnostics.h"

namespace Keyweave::Diagnostics {

struct SeenLine {
    uint32_t number;
    std::string raw;   // as read, up to its first NUL byte
    uint32_t section;  // Config::Parser::Section in force for the line
    bool accepted;
};

struct SeenRule {
    uint32_t line;
    KeySet keys;                         // [keys] rules
    uint32_t control = 0;                // [gamepad2] rules (keys empty)
    std::vector<const Action*> actions;  // in set order
};

struct Seen {
    std::string_view text;           // the whole file
    std::vector<SeenLine> lines;     // every line, in order
    std::vector<SeenRule> rules;     // every stored rule, in order
    const Config* config = nullptr;  // as the whole file left it
};

class Warnings {
public:
    explicit Warnings(std::vector<Diagnostic>& out) : out_(out) {}
    void Add(uint32_t line, std::string_view name, std::string message);

private:
    std::vector<Diagnostic>& out_;
};

// Checks on the raw lines: encoding, directive look-alikes, directive values,
// values the reader ignores or cuts.
void CheckLines(const Seen& seen, Warnings& warnings);
// Checks on the stored rules and their records: points, keys bound twice,
// pads, chords, unknown keys, shooting mode.
void CheckRules(const Seen& seen, Warnings& warnings);

// A number as an author writes it: "50", "0.5", "12.25".
[[nodiscard]] std::string Number(float value);

}  // namespace Keyweave::Diagnostics
