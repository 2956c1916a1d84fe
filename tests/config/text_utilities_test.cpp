// The text cutters that every keymap line goes through.
#include "config/text_utilities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Keyweave::Text {
namespace {

using Views = std::vector<std::string_view>;

TEST(TextUtilitiesTest, TrimmingTakesBlanksAndTabsAndLineEndsOnTheRight) {
    EXPECT_EQ(TrimLeft(" \t a b \t"), "a b \t");
    EXPECT_EQ(TrimLeft("\r\na"), "\r\na") << "line ends are not blanks on the left";
    EXPECT_EQ(TrimRight(" a b \t\r\n \r"), " a b");
    EXPECT_EQ(TrimRight("\v"), "\v");
    EXPECT_EQ(TrimLeft(" \t "), "");
    EXPECT_EQ(TrimRight(""), "");
}

TEST(TextUtilitiesTest, CleanCutsTheCommentThenTrims) {
    EXPECT_EQ(StripComment("Tap (1,1) # note # more"), "Tap (1,1) ");
    EXPECT_EQ(StripComment("no comment"), "no comment");
    EXPECT_EQ(Clean("  Tap (1,1)\t# note"), "Tap (1,1)");
    EXPECT_EQ(Clean("# all comment"), "");
}

TEST(TextUtilitiesTest, NextWordSplitsAtTheFirstBlankOrTab) {
    std::string_view text = "  Ctrl,A \t = Tap (50,50)";
    EXPECT_EQ(NextWord(text), "Ctrl,A");
    EXPECT_EQ(text, "= Tap (50,50)");
    EXPECT_EQ(NextWord(text), "=");
    EXPECT_EQ(NextWord(text), "Tap");
    EXPECT_EQ(text, "(50,50)");
    EXPECT_EQ(NextWord(text), "(50,50)");
    EXPECT_EQ(text, "");
    EXPECT_EQ(NextWord(text), "");
}

TEST(TextUtilitiesTest, OnlyAWordFollowedByABlankIsCleaned) {
    std::string_view text = "Tap#x rest";
    EXPECT_EQ(NextWord(text), "Tap");
    EXPECT_EQ(text, "rest");
    text = "(50,50)#x\r";
    EXPECT_EQ(NextWord(text), "(50,50)#x\r") << "the last word is taken as it is";
    text = "word\tnext";
    EXPECT_EQ(NextWord(text), "word");
    EXPECT_EQ(text, "next");
}

TEST(TextUtilitiesTest, SplitKeepsEmptyPieces) {
    EXPECT_EQ(Split("Ctrl,A", ','), (Views{"Ctrl", "A"}));
    EXPECT_EQ(Split("Ctrl,", ','), (Views{"Ctrl", ""}));
    EXPECT_EQ(Split(",,", ','), (Views{"", "", ""}));
    EXPECT_EQ(Split("", ';'), (Views{""}));
}

TEST(TextUtilitiesTest, NamesAreNormalisedWithoutTheCLocale) {
    EXPECT_EQ(NormalizeName("Strings.en-US"), "strings.en_us");
    EXPECT_EQ(NormalizeName("GAME-PAD2"), "game_pad2");
    EXPECT_EQ(NormalizeName("\xC3\x89t\xC3\xA9"), "\xC3\x89t\xC3\xA9") << "bytes above ASCII stay as they are";
}

}  // namespace
}  // namespace Keyweave::Text
