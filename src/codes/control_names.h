#pragma once
// The two name sets of the game-pad control codes: the names keymap game-pad
// sections bind, and the short target names of the game-pad database. Some
// codes have only one of the two (the stick axes are database targets only,
// the stick directions and whole sticks keymap names only). Constant data;
// lookups take no lock.

#include <cstdint>
#include <span>
#include <string_view>

#include "codes/control_codes.h"

namespace Keyweave::GamePad {

struct ControlName {
    uint32_t code;
    const char* keymapName;      // nullptr: not bindable by name in a keymap
    const char* databaseTarget;  // nullptr: not a database target
};

// The control code of a keymap name (exact, case-sensitive, whole name);
// kNoControl for anything else, database target names included.
[[nodiscard]] uint32_t LookupControlName(std::string_view name);

// The control code of a database target name (exact, case-sensitive, whole
// name); kNoControl for anything else.
[[nodiscard]] uint32_t LookupDatabaseTarget(std::string_view name);

// The keymap name of a control code; nullptr when the code has none.
[[nodiscard]] const char* ControlNameOf(uint32_t code);

// Every control with its names, in code order, for tools that list them.
[[nodiscard]] std::span<const ControlName> ControlNameTable();

}  // namespace Keyweave::GamePad
