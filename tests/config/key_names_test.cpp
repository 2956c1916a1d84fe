// Key names both ways: every registration round-trips, later names win the
// reverse direction, and anything not registered is rejected.
#include "codes/key_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace Keyweave {
namespace {

struct Registration {
    std::string name;
    uint32_t code;
};

// The registrations in order, written as runs: consecutive codes from `first`
// for each name, or one listed code per name.
std::vector<Registration> ExpectedRegistrations() {
    std::vector<Registration> out;
    auto run = [&](std::vector<std::string> names, uint32_t first) {
        for (const std::string& name : names) out.push_back({name, first++});
    };
    auto letters = [&](const char* names, uint32_t first) {
        for (const char* c = names; *c != '\0'; ++c) out.push_back({std::string(1, *c), first++});
    };
    auto listed = [&](std::vector<std::string> names, std::vector<uint32_t> codes) {
        ASSERT_EQ(names.size(), codes.size());
        for (size_t i = 0; i < names.size(); ++i) out.push_back({names[i], codes[i]});
    };
    letters("1234567890", 2);
    letters("QWERTYUIOP", 16);
    letters("ASDFGHJKL", 30);
    letters("ZXCVBNM", 44);
    listed({"Space", "Enter", "Ctrl", "Alt", "Shift", "Tab"}, {57, 28, 29, 56, 42, 15});
    listed({"Up", "Down", "Left", "Right"}, {57416, 57424, 57419, 57421});
    run({"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8"}, 59);
    listed({"=", "-", "{", "}", "\\", ";", "'", "<", ">", "/", "~"}, {13, 12, 26, 27, 43, 39, 40, 51, 52, 53, 41});
    listed({"Num1", "Num2", "Num3", "Num4", "Num5", "Num6", "Num7", "Num8", "Num9", "Num0"},
           {79, 80, 81, 75, 76, 77, 71, 72, 73, 82});
    listed({"Add", "Sub", "Mul", "Div", "Del"}, {78, 74, 55, 53, 83});
    run({"MouseMove", "LeftClick", "RightClick", "ShootSensitivity", "MouseWheelDown", "MouseWheelUp"}, 256);
    return out;
}

TEST(KeyNamesTest, EveryRegistrationRoundTrips) {
    const std::vector<Registration> expected = ExpectedRegistrations();
    ASSERT_EQ(expected.size(), 86u);

    const auto table = KeyNameTable();
    ASSERT_EQ(table.size(), expected.size());
    std::map<uint32_t, std::string> lastNameOf;
    std::set<std::string> names;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Registration& row = expected[i];
        EXPECT_EQ(table[i].code, row.code) << "row " << i;
        EXPECT_STREQ(table[i].name, row.name.c_str()) << "row " << i;
        EXPECT_EQ(KeyCodeOf(row.name), row.code) << row.name;
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " registered twice";
        lastNameOf[row.code] = row.name;
    }
    for (const auto& [code, name] : lastNameOf) EXPECT_STREQ(KeyNameOf(code), name.c_str()) << code;
    EXPECT_EQ(lastNameOf.size(), 85u);  // only code 53 has two names
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

TEST(KeyNamesTest, NamedConstantsAgreeWithTheTable) {
    const std::pair<const char*, uint32_t> kConstants[] = {
        {"MouseMove", kKeyMouseMove}, {"LeftClick", kKeyLeftClick},   {"RightClick", kKeyRightClick},
        {"ShootSensitivity", kKeyShootSensitivity}, {"MouseWheelDown", kKeyMouseWheelDown},
        {"MouseWheelUp", kKeyMouseWheelUp}, {"Enter", kKeyEnter},     {"Shift", kKeyShift},
        {"Ctrl", kKeyCtrl},           {"Alt", kKeyAlt},               {"Tab", kKeyTab},
        {"Space", kKeySpace},         {"Down", kKeyDown},             {"Left", kKeyLeft},
        {"Right", kKeyRight},         {"Up", kKeyUp},
    };
    for (const auto& [name, code] : kConstants) EXPECT_EQ(KeyCodeOf(name), code) << name;
}

}  // namespace
}  // namespace Keyweave
