// One row per game-pad control code with its keymap name and its database
// target name.
#include "codes/control_names.h"

#include <iterator>

namespace Keyweave::GamePad {
namespace {

constexpr ControlName kControlNames[] = {
    {kA, "A", "A"},
    {kB, "B", "B"},
    {kX, "X", "X"},
    {kY, "Y", "Y"},
    {kLeftButton, "LeftButton", "LB"},
    {kRightButton, "RightButton", "RB"},
    {kLeftTrigger, "LeftTrigger", "LT"},
    {kRightTrigger, "RightTrigger", "RT"},
    {kBothTriggers, nullptr, "LT_RT"},  // one axis drives both triggers
    {kLeftClick, "LeftClick", "LC"},
    {kRightClick, "RightClick", "RC"},
    {kSelect, "Select", "Select"},
    {kStart, "Start", "Start"},
    {kLeftStickX, nullptr, "LS_X"},
    {kLeftStickY, nullptr, "LS_Y"},
    {kRightStickX, nullptr, "RS_X"},
    {kRightStickY, nullptr, "RS_Y"},
    {kHatUp, "Hat_Up", "H_U"},
    {kHatDown, "Hat_Down", "H_D"},
    {kHatLeft, "Hat_Left", "H_L"},
    {kHatRight, "Hat_Right", "H_R"},
    {kLeftStickUp, "LeftStick_Up", nullptr},
    {kLeftStickDown, "LeftStick_Down", nullptr},
    {kLeftStickLeft, "LeftStick_Left", nullptr},
    {kLeftStickRight, "LeftStick_Right", nullptr},
    {kRightStickUp, "RightStick_Up", nullptr},
    {kRightStickDown, "RightStick_Down", nullptr},
    {kRightStickLeft, "RightStick_Left", nullptr},
    {kRightStickRight, "RightStick_Right", nullptr},
    {kLeftStick, "LeftStick", nullptr},
    {kRightStick, "RightStick", nullptr},
};
static_assert(std::size(kControlNames) == 31, "31 game-pad control codes");

}  // namespace

uint32_t LookupControlName(std::string_view name) {
    for (const ControlName& row : kControlNames) {
        if (row.keymapName != nullptr && name == row.keymapName) return row.code;
    }
    return kNoControl;
}

uint32_t LookupDatabaseTarget(std::string_view name) {
    for (const ControlName& row : kControlNames) {
        if (row.databaseTarget != nullptr && name == row.databaseTarget) return row.code;
    }
    return kNoControl;
}

const char* ControlNameOf(uint32_t code) {
    for (const ControlName& row : kControlNames) {
        if (row.code == code) return row.keymapName;
    }
    return nullptr;
}

std::span<const ControlName> ControlNameTable() { return kControlNames; }

}  // namespace Keyweave::GamePad
