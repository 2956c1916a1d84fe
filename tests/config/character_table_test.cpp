// The character table over every possible character: the 99 characters with
// an entry give their key and Shift flag, all others give no key.
#include "codes/key_names.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>

namespace Keyweave {
namespace {

struct Expected {
    uint32_t key;
    bool shift;
};

std::map<char, Expected> ExpectedCharacters() {
    std::map<char, Expected> out;
    auto run = [&](const char* characters, uint32_t first, bool shift) {
        for (const char* c = characters; *c != '\0'; ++c) out[*c] = {first++, shift};
    };
    auto listed = [&](const char* characters, std::initializer_list<uint32_t> keys, bool shift) {
        ASSERT_EQ(std::char_traits<char>::length(characters), keys.size());
        const char* c = characters;
        for (uint32_t key : keys) out[*c++] = {key, shift};
    };
    run("1234567890", 2, false);
    run("!@#$%^&*()", 2, true);
    run("qwertyuiop", 16, false);
    run("QWERTYUIOP", 16, true);
    run("asdfghjkl", 30, false);
    run("ASDFGHJKL", 30, true);
    run("zxcvbnm", 44, false);
    run("ZXCVBNM", 44, true);
    listed("-=[]\\;',./", {12, 13, 26, 27, 43, 39, 40, 51, 52, 53}, false);
    listed("_+{}|:\"<>?", {12, 13, 26, 27, 43, 39, 40, 51, 52, 53}, true);
    listed(" \n\x01\x02\x03\x04\x05", {57, 28, 42, 14, 29, 56, 15}, false);
    return out;
}

TEST(CharacterTableTest, EveryCharacterGivesItsKeyAndShiftOrNothing) {
    const std::map<char, Expected> expected = ExpectedCharacters();
    ASSERT_EQ(expected.size(), 99u);
    EXPECT_EQ(CharacterTable().size(), 99u);

    int withEntry = 0;
    for (int i = CHAR_MIN; i <= CHAR_MAX; ++i) {
        const char c = static_cast<char>(i);
        const auto found = expected.find(c);
        if (found == expected.end()) {
            EXPECT_EQ(CharacterKey(c), kNoKey) << "character " << i;
            EXPECT_FALSE(CharacterNeedsShift(c)) << "character " << i;
            continue;
        }
        ++withEntry;
        EXPECT_EQ(CharacterKey(c), found->second.key) << "character " << i;
        EXPECT_EQ(CharacterNeedsShift(c), found->second.shift) << "character " << i;
    }
    EXPECT_EQ(withEntry, 99);
}

TEST(CharacterTableTest, ControlEntriesStandForKeysWithoutCharacters) {
    EXPECT_EQ(CharacterKey(kCharacterShift), kKeyShift);
    EXPECT_EQ(CharacterKey(kCharacterBackspace), kKeyBackspace);
    EXPECT_EQ(CharacterKey('\n'), kKeyEnter);
}

}  // namespace
}  // namespace Keyweave
