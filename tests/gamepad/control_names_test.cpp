// Game-pad control names: keymap names and database target names each map to
// their code and only to it; neither set is accepted in place of the other.
#include "codes/control_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace Keyweave::GamePad {
namespace {

struct Expected {
    uint32_t code;
    const char* keymapName;      // nullptr: none
    const char* databaseTarget;  // nullptr: none
};

constexpr Expected kExpected[] = {
    {0x1, "A", "A"},
    {0x2, "B", "B"},
    {0x4, "X", "X"},
    {0x8, "Y", "Y"},
    {0x10, "LeftButton", "LB"},
    {0x20, "RightButton", "RB"},
    {0x40, "LeftTrigger", "LT"},
    {0x80, "RightTrigger", "RT"},
    {0xC0, nullptr, "LT_RT"},
    {0x100, "LeftClick", "LC"},
    {0x200, "RightClick", "RC"},
    {0x400, "Select", "Select"},
    {0x800, "Start", "Start"},
    {0x1000, nullptr, "LS_X"},
    {0x2000, nullptr, "LS_Y"},
    {0x4000, nullptr, "RS_X"},
    {0x8000, nullptr, "RS_Y"},
    {0x10000, "Hat_Up", "H_U"},
    {0x20000, "Hat_Down", "H_D"},
    {0x40000, "Hat_Left", "H_L"},
    {0x80000, "Hat_Right", "H_R"},
    {0x100000, "LeftStick_Up", nullptr},
    {0x200000, "LeftStick_Down", nullptr},
    {0x400000, "LeftStick_Left", nullptr},
    {0x800000, "LeftStick_Right", nullptr},
    {0x1000000, "RightStick_Up", nullptr},
    {0x2000000, "RightStick_Down", nullptr},
    {0x4000000, "RightStick_Left", nullptr},
    {0x8000000, "RightStick_Right", nullptr},
    {0x10000000, "LeftStick", nullptr},
    {0x20000000, "RightStick", nullptr},
};

TEST(ControlNamesTest, EveryControlRoundTripsThroughItsNames) {
    ASSERT_EQ(ControlNameTable().size(), std::size(kExpected));
    std::set<std::string> keymapNames;
    for (const Expected& row : kExpected) {
        if (row.keymapName != nullptr) keymapNames.insert(row.keymapName);
    }
    for (const Expected& row : kExpected) {
        SCOPED_TRACE(row.code);
        if (row.keymapName != nullptr) {
            EXPECT_EQ(LookupControlName(row.keymapName), row.code);
            EXPECT_STREQ(ControlNameOf(row.code), row.keymapName);
        } else {
            EXPECT_EQ(ControlNameOf(row.code), nullptr);
        }
        if (row.databaseTarget != nullptr) {
            EXPECT_EQ(LookupDatabaseTarget(row.databaseTarget), row.code);
            // A database name is a keymap name only where both sets spell it the same.
            if (keymapNames.count(row.databaseTarget) == 0) {
                EXPECT_EQ(LookupControlName(row.databaseTarget), kNoControl) << row.databaseTarget;
            }
        }
        if (row.keymapName != nullptr && (row.databaseTarget == nullptr || std::string(row.databaseTarget) != row.keymapName)) {
            EXPECT_EQ(LookupDatabaseTarget(row.keymapName), kNoControl) << row.keymapName;
        }
    }
}

TEST(ControlNamesTest, KeymapNamesAreExactAndCaseSensitive) {
    EXPECT_EQ(LookupControlName("LeftStick"), 0x10000000u);
    EXPECT_EQ(LookupControlName("leftstick"), kNoControl);
    EXPECT_EQ(LookupControlName("LEFTSTICK"), kNoControl);
    EXPECT_EQ(LookupControlName("a"), kNoControl);
    for (const char* notAName : {"", "LeftStick ", " A", "LeftStick_", "Hat", "Tilt", "LT_RT", "LB", "H_U", "LS_X"}) {
        EXPECT_EQ(LookupControlName(notAName), kNoControl) << '"' << notAName << '"';
    }
    EXPECT_EQ(LookupControlName(std::string_view("Start\0", 6)), kNoControl);
    EXPECT_EQ(LookupDatabaseTarget("lt_rt"), kNoControl);
    EXPECT_EQ(LookupDatabaseTarget(""), kNoControl);
    EXPECT_EQ(LookupDatabaseTarget("H"), kNoControl);
}

TEST(ControlNamesTest, OnlyHatTargetsCarryHatBits) {
    // The database reader tells hat targets from button targets by these bits.
    for (const ControlName& row : ControlNameTable()) {
        if (row.databaseTarget == nullptr) continue;
        const bool hatBits = (row.code & 0xF0000u) != 0;
        EXPECT_EQ(hatBits, std::string(row.databaseTarget).starts_with("H_")) << row.databaseTarget;
    }
}

TEST(ControlNamesTest, CodesWithoutAControlHaveNoName) {
    for (uint32_t code : {0u, 0x3u, 0x40000000u, 0x80000000u, kNoControl}) {
        EXPECT_EQ(ControlNameOf(code), nullptr) << code;
    }
}

}  // namespace
}  // namespace Keyweave::GamePad
