// Typed characters reach the guest as scan-code strokes, whatever the keymap.
#include <gtest/gtest.h>

#include "support/keymap_engine.h"

namespace Keyweave::Testing {
namespace {

class CharacterInputTest : public KeymapEngineTest {};

TEST_F(CharacterInputTest, AnUpperCaseLetterIsWrappedInShift) {
    Load("[keys]\n");
    engine().HandleCharacter('A');
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{
                           {0, 0x2A},  // Shift down
                           {0, 0x1E},  // A down
                           {0, 0x9E},  // A up
                           {0, 0xAA},  // Shift up
                       }));
    EXPECT_EQ(Elapsed(), 10) << "the calling thread pauses after each character";
}

TEST_F(CharacterInputTest, ALowerCaseLetterAndPunctuationTypeAsTheyAre) {
    Load("[keys]\n");
    engine().HandleCharacter('a');
    engine().HandleCharacter('?');  // Shift and the "/" key
    engine().HandleCharacter('\n');
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x1E},
                                               {0, 0x9E},
                                               {10, 0x2A},
                                               {10, 0x35},
                                               {10, 0xB5},
                                               {10, 0xAA},
                                               {20, 0x1C},
                                               {20, 0x9C}}));
}

TEST_F(CharacterInputTest, TheByte255IsBackspace) {
    Load("[keys]\n");
    engine().HandleCharacter(static_cast<char>(255));
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x0E}, {0, 0x8E}}));
}

TEST_F(CharacterInputTest, ACharacterWithoutAKeySendsNothingAndDoesNotPause) {
    Load("[keys]\n");
    engine().HandleCharacter('~');
    engine().HandleCharacter('\r');
    RunAll();
    EXPECT_TRUE(Bytes().empty());
    EXPECT_EQ(Elapsed(), 0);
}

TEST_F(CharacterInputTest, TheKeymapAndTheMappingStateDoNotMatter) {
    Load("[keys]\nA = Tap (50,50)\n");
    engine().SetKeyMappingState(0);
    engine().SetForwardRawKeys(false);
    engine().HandleCharacter('a');
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x1E}, {0, 0x9E}}));
    EXPECT_TRUE(Rows().empty());
}

}  // namespace
}  // namespace Keyweave::Testing
