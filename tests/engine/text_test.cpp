#include "base/text.h"

#include <gtest/gtest.h>

namespace Keyweave {
namespace {

TEST(TextTest, Utf16AndUtf8RoundTrip) {
    const std::string utf8 = "C:\\maps\\\xC3\xA9t\xC3\xA9\\\xE6\xBC\xA2\xF0\x9F\x8E\xAE.cfg";
    const WideString wide = ToWide(utf8);
    EXPECT_EQ(wide.size(), 19u);  // the game-controller emoji is a surrogate pair
    EXPECT_EQ(ToUtf8(wide), utf8);
}

TEST(TextTest, MalformedInputBecomesReplacementCharacters) {
    const WideChar lone[] = {'a', 0xD800, 'b', 0xDC00, 0};
    EXPECT_EQ(ToUtf8(lone),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    const WideString fromBad = ToWide("x\xFF\xC0\x80y\xE2\x82");
    EXPECT_EQ(ToUtf8(fromBad), "x\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDy\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TextTest, NullHostStringIsEmpty) { EXPECT_TRUE(WideFromHost(nullptr).empty()); }

}  // namespace
}  // namespace Keyweave
