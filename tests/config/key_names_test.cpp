// Key names both ways: the table round-trips, later names win the reverse
// direction, and anything not registered is rejected. The bytes that keys
// send are in the golden play runs.
#include "codes/key_names.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace Keyweave {
namespace {

// The table both ways: every name finds its code, no name is registered
// twice, and the name a code prints as finds that code again.
TEST(KeyNamesTest, TheTableRoundTrips) {
    const auto table = KeyNameTable();
    ASSERT_FALSE(table.empty());
    std::set<std::string> names;
    for (const auto& row : table) {
        EXPECT_EQ(KeyCodeOf(row.name), row.code) << row.name;
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " registered twice";
        EXPECT_EQ(KeyCodeOf(KeyNameOf(row.code)), row.code) << row.name;
    }
}

TEST(KeyNamesTest, NamesMatchWholeAndCaseSensitive) {
    EXPECT_EQ(KeyCodeOf("Space"), 57u);
    EXPECT_EQ(KeyCodeOf("space"), kNoKey);
    EXPECT_EQ(KeyCodeOf("SPACE"), kNoKey);
    EXPECT_EQ(KeyCodeOf("q"), kNoKey);  // only upper-case letters are names
    EXPECT_EQ(KeyCodeOf("Q"), 16u);
    EXPECT_EQ(KeyCodeOf("leftclick"), kNoKey);
    for (const char* notAName : {"", " Space", "Space ", "Spac", "Spacebar", "F9", "F12", "Esc", "Backspace", "Num",
                                 "Num10", "UNKNOWN", "[", "`", "RightShift"}) {
        EXPECT_EQ(KeyCodeOf(notAName), kNoKey) << '"' << notAName << '"';
    }
    EXPECT_EQ(KeyCodeOf(std::string_view("F6\0", 3)), kNoKey);  // the whole view is the name
    EXPECT_EQ(KeyCodeOf(std::string_view("F6x", 2)), 64u);      // ...and nothing past it
}

TEST(KeyNamesTest, ReverseLookupKeepsTheLastNameAndRejectsUnknownCodes) {
    EXPECT_STREQ(KeyNameOf(53), "Div");
    EXPECT_EQ(KeyCodeOf("/"), 53u);  // "/" still names the key
    EXPECT_STREQ(KeyNameOf(0xE048), "Up");
    EXPECT_STREQ(KeyNameOf(kKeyMouseWheelUp), "MouseWheelUp");
    for (uint32_t unnamed : {0u, 1u, 14u, 0x48u + 0x100u, 0xE0u, 0xE01Cu, 0xE02Au, 67u, 255u, 262u, 0x10039u, kNoKey}) {
        EXPECT_STREQ(KeyNameOf(unnamed), "UNKNOWN") << unnamed;
    }
    EXPECT_STREQ(KeyNameOf(72), "Num8");  // the up arrow without its prefix is the number-pad 8
}

}  // namespace
}  // namespace Keyweave
