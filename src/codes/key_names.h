#pragma once
// Key codes and their names, and the table that turns a typed character into
// a key code plus a Shift flag.
//
// A keyboard key's code is its PC scan code of set 1 (make code) on a US
// layout; keys sent with the E0 prefix carry it in the byte above (0xE048 is
// the up arrow). Codes from 256 on are pseudo keys that the mouse produces.
// Both tables are constant data; lookups take no lock and may run on any
// thread.

#include <cstdint>
#include <span>
#include <string_view>

namespace Keyweave {

// What a failed lookup gives; no key uses it.
inline constexpr uint32_t kNoKey = 0xFFFFFFFFu;

// Keyboard keys that the engine itself refers to.
inline constexpr uint32_t kKeyBackspace = 14;
inline constexpr uint32_t kKeyTab = 15;
inline constexpr uint32_t kKeyEnter = 28;
inline constexpr uint32_t kKeyCtrl = 29;
inline constexpr uint32_t kKeyShift = 42;  // the left Shift key
inline constexpr uint32_t kKeyAlt = 56;
inline constexpr uint32_t kKeySpace = 57;
inline constexpr uint32_t kKeyUp = 0xE048;
inline constexpr uint32_t kKeyDown = 0xE050;
inline constexpr uint32_t kKeyLeft = 0xE04B;
inline constexpr uint32_t kKeyRight = 0xE04D;

// Mouse pseudo keys.
inline constexpr uint32_t kKeyMouseMove = 256;
inline constexpr uint32_t kKeyLeftClick = 257;
inline constexpr uint32_t kKeyRightClick = 258;
inline constexpr uint32_t kKeyShootSensitivity = 259;
inline constexpr uint32_t kKeyMouseWheelDown = 260;
inline constexpr uint32_t kKeyMouseWheelUp = 261;

// Control characters with no printable form that stand for keys in the
// character table: the character handler's Shift key, and the key that the
// byte 255 becomes.
inline constexpr char kCharacterShift = '\x01';
inline constexpr char kCharacterBackspace = '\x02';

struct KeyName {
    uint32_t code;
    const char* name;
};

// A character's entry: the low 31 bits of `value` are the key code, the top
// bit says the character is typed with Shift.
struct CharacterEntry {
    char character;
    uint32_t value;
};
inline constexpr uint32_t kCharacterShiftBit = 0x80000000u;

// The key name for a whole, exactly matching (case-sensitive) name; kNoKey
// for any other text.
[[nodiscard]] uint32_t KeyCodeOf(std::string_view name);

// The name of a key code; a code with several names gets the one registered
// last (53 is "Div", not "/"). "UNKNOWN" for a code without a name.
[[nodiscard]] const char* KeyNameOf(uint32_t code);

// The key code that types a character, without the Shift bit; kNoKey when
// the character has no entry.
[[nodiscard]] uint32_t CharacterKey(char character);

// True when the character is typed with Shift; false when it is not or has no
// entry.
[[nodiscard]] bool CharacterNeedsShift(char character);

// The controller code (KeyweaveHandleController) of an [opensensor] button
// name: the letter itself for "A" to "H", the lower-case initial for "Up",
// "Down", "Left" and "Right"; 0 for any other name.
[[nodiscard]] uint32_t ControllerButtonCode(std::string_view name);

// The tables in registration order, for tools that list them.
[[nodiscard]] std::span<const KeyName> KeyNameTable();
[[nodiscard]] std::span<const CharacterEntry> CharacterTable();

}  // namespace Keyweave
