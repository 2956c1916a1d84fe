// The key name table: every name a keymap may use for a key, in the order the
// names are registered. A later row wins, in both directions: "Div" comes
// after "/" and so names code 53.
#include "codes/key_names.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

namespace Keyweave {
namespace {

constexpr KeyName kKeyNames[] = {
    // Digit row.
    {2, "1"},
    {3, "2"},
    {4, "3"},
    {5, "4"},
    {6, "5"},
    {7, "6"},
    {8, "7"},
    {9, "8"},
    {10, "9"},
    {11, "0"},
    // Letters: only the upper-case letters are names.
    {16, "Q"},
    {17, "W"},
    {18, "E"},
    {19, "R"},
    {20, "T"},
    {21, "Y"},
    {22, "U"},
    {23, "I"},
    {24, "O"},
    {25, "P"},
    {30, "A"},
    {31, "S"},
    {32, "D"},
    {33, "F"},
    {34, "G"},
    {35, "H"},
    {36, "J"},
    {37, "K"},
    {38, "L"},
    {44, "Z"},
    {45, "X"},
    {46, "C"},
    {47, "V"},
    {48, "B"},
    {49, "N"},
    {50, "M"},
    // Space, Enter and the left-hand modifiers.
    {kKeySpace, "Space"},
    {kKeyEnter, "Enter"},
    {kKeyCtrl, "Ctrl"},
    {kKeyAlt, "Alt"},
    {kKeyShift, "Shift"},
    {kKeyTab, "Tab"},
    // Arrows (E0-prefixed).
    {kKeyUp, "Up"},
    {kKeyDown, "Down"},
    {kKeyLeft, "Left"},
    {kKeyRight, "Right"},
    // Function keys; F9 to F12 have no names.
    {59, "F1"},
    {60, "F2"},
    {61, "F3"},
    {62, "F4"},
    {63, "F5"},
    {64, "F6"},
    {65, "F7"},
    {66, "F8"},
    // Punctuation. The bracket, comma, period and grave keys are named by
    // the character they give when shifted.
    {13, "="},
    {12, "-"},
    {26, "{"},
    {27, "}"},
    {43, "\\"},
    {39, ";"},
    {40, "'"},
    {51, "<"},
    {52, ">"},
    {53, "/"},
    {41, "~"},
    // Number pad, by the digit printed on the key.
    {79, "Num1"},
    {80, "Num2"},
    {81, "Num3"},
    {75, "Num4"},
    {76, "Num5"},
    {77, "Num6"},
    {71, "Num7"},
    {72, "Num8"},
    {73, "Num9"},
    {82, "Num0"},
    // Number-pad operators and Del. "Div" shares code 53 with "/".
    {78, "Add"},
    {74, "Sub"},
    {55, "Mul"},
    {53, "Div"},
    {83, "Del"},
    // Mouse pseudo keys.
    {kKeyMouseMove, "MouseMove"},
    {kKeyLeftClick, "LeftClick"},
    {kKeyRightClick, "RightClick"},
    {kKeyShootSensitivity, "ShootSensitivity"},
    {kKeyMouseWheelDown, "MouseWheelDown"},
    {kKeyMouseWheelUp, "MouseWheelUp"},
};
static_assert(std::size(kKeyNames) == 86, "the key name table has 86 names");

// The table sorted by name, built at compile time for the keymap reader's
// lookups. The sort is stable: of equal names, the later row comes last.
struct NameIndexEntry {
    std::string_view name;
    uint32_t code;
};

constexpr auto kByName = [] {
    std::array<NameIndexEntry, std::size(kKeyNames)> index{};
    for (size_t i = 0; i < index.size(); ++i) {
        NameIndexEntry entry{kKeyNames[i].name, kKeyNames[i].code};
        size_t at = i;
        for (; at > 0 && entry.name < index[at - 1].name; --at) index[at] = index[at - 1];
        index[at] = entry;
    }
    return index;
}();

}  // namespace

uint32_t KeyCodeOf(std::string_view name) {
    const auto after =
        std::upper_bound(kByName.begin(), kByName.end(), name,
                         [](std::string_view wanted, const NameIndexEntry& entry) { return wanted < entry.name; });
    if (after == kByName.begin() || std::prev(after)->name != name) return kNoKey;
    return std::prev(after)->code;
}

const char* KeyNameOf(uint32_t code) {
    for (auto row = std::rbegin(kKeyNames); row != std::rend(kKeyNames); ++row) {
        if (row->code == code) return row->name;
    }
    return "UNKNOWN";
}

std::span<const KeyName> KeyNameTable() { return kKeyNames; }

}  // namespace Keyweave
