// Game-pad control names: keymap names and database target names each map to
// their code and only to it; neither set is accepted in place of the other.
#include "codes/control_names.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace Keyweave::GamePad {
namespace {

// The table both ways: each name finds its control, each control prints as
// its keymap name, and a name of one set is accepted by the other only where
// both spell it the same.
TEST(ControlNamesTest, EveryControlRoundTripsThroughItsNames) {
    std::set<std::string> keymapNames, databaseTargets;
    for (const ControlName& row : ControlNameTable()) {
        if (row.keymapName != nullptr) keymapNames.insert(row.keymapName);
        if (row.databaseTarget != nullptr) databaseTargets.insert(row.databaseTarget);
    }
    for (const ControlName& row : ControlNameTable()) {
        SCOPED_TRACE(row.code);
        if (row.keymapName != nullptr) {
            EXPECT_EQ(LookupControlName(row.keymapName), row.code);
            EXPECT_STREQ(ControlNameOf(row.code), row.keymapName);
            if (databaseTargets.count(row.keymapName) == 0) {
                EXPECT_EQ(LookupDatabaseTarget(row.keymapName), kNoControl);
            }
        } else {
            EXPECT_EQ(ControlNameOf(row.code), nullptr);
        }
        if (row.databaseTarget != nullptr) {
            EXPECT_EQ(LookupDatabaseTarget(row.databaseTarget), row.code);
            if (keymapNames.count(row.databaseTarget) == 0) {
                EXPECT_EQ(LookupControlName(row.databaseTarget), kNoControl);
            }
        }
    }
    EXPECT_EQ(LookupControlName("leftstick"), kNoControl);
    EXPECT_EQ(ControlNameOf(0x3u), nullptr);
}

}  // namespace
}  // namespace Keyweave::GamePad
