// The character table over every possible character: a character with an
// entry gives its key and Shift flag, all others give no key.
#include "codes/key_names.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace Keyweave {
namespace {

TEST(CharacterTableTest, EveryCharacterGivesItsEntryOrNothing) {
    std::set<char> withEntry;
    for (const CharacterEntry& entry : CharacterTable()) {
        EXPECT_TRUE(withEntry.insert(entry.character).second) << "character " << int{entry.character} << " twice";
        EXPECT_EQ(CharacterKey(entry.character), entry.value & ~kCharacterShiftBit) << int{entry.character};
        EXPECT_EQ(CharacterNeedsShift(entry.character), (entry.value & kCharacterShiftBit) != 0) << int{entry.character};
        EXPECT_NE(CharacterKey(entry.character), kNoKey);
    }
    for (int i = CHAR_MIN; i <= CHAR_MAX; ++i) {
        const char c = static_cast<char>(i);
        if (withEntry.count(c) != 0) continue;
        EXPECT_EQ(CharacterKey(c), kNoKey) << "character " << i;
        EXPECT_FALSE(CharacterNeedsShift(c)) << "character " << i;
    }
}

TEST(CharacterTableTest, ControlEntriesStandForKeysWithoutCharacters) {
    EXPECT_EQ(CharacterKey(kCharacterShift), kKeyShift);
    EXPECT_EQ(CharacterKey(kCharacterBackspace), kKeyBackspace);
    EXPECT_EQ(CharacterKey('\n'), kKeyEnter);
    EXPECT_EQ(CharacterKey('a'), CharacterKey('A'));
    EXPECT_TRUE(CharacterNeedsShift('A'));
    EXPECT_FALSE(CharacterNeedsShift('a'));
}

}  // namespace
}  // namespace Keyweave
