// Typed characters reach the guest as scan-code strokes, whatever the keymap.
#include <gtest/gtest.h>

#include "support/keymap_engine.h"

namespace Keyweave::Testing {
namespace {

class CharacterInputTest : public KeymapEngineTest {};

TEST_F(CharacterInputTest, EachCharacterIsItsKeysStrokeAndAPause) {
    struct Case {
        char character;
        std::vector<uint8_t> bytes;  // all at once, then the calling thread pauses 10 ms
    };
    const Case kCases[] = {
        {'A', {0x2A, 0x1E, 0x9E, 0xAA}},  // an upper-case letter is wrapped in Shift
        {'a', {0x1E, 0x9E}},
        {'?', {0x2A, 0x35, 0xB5, 0xAA}},  // Shift and the "/" key
        {'\n', {0x1C, 0x9C}},
        {static_cast<char>(255), {0x0E, 0x8E}},  // the byte 255 is Backspace
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.character));
        Load("[keys]\n");
        engine().HandleCharacter(c.character);
        std::vector<TimedByte> expected;
        for (uint8_t byte : c.bytes) expected.push_back({0, byte});
        EXPECT_EQ(Bytes(), expected);
        EXPECT_EQ(Elapsed(), 10);
    }
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
    engine().HandleCharacter('b');
    EXPECT_EQ(Bytes(), (std::vector<TimedByte>{{0, 0x1E}, {0, 0x9E}, {10, 0x30}, {10, 0xB0}}));
    EXPECT_TRUE(Rows().empty());
}

}  // namespace
}  // namespace Keyweave::Testing
