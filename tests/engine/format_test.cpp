// The engine's formatting: what it adds to {fmt}'s printf (UTF-16 strings,
// bounds, faults) and its locale independence. The number conversions the
// engine's texts use are in every golden run.
#include "base/format.h"

#include <clocale>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace Keyweave {
namespace {

template <typename... Args>
std::string Ours(const char* format, Args... args) {
    char buffer[2048];
    Format(buffer, sizeof buffer, format, args...);
    return buffer;
}

TEST(FormatTest, StringsCharactersAndPointers) {
    EXPECT_EQ(Ours("%s|%-5s|%c|%%", "ab", "ef", 'k'), "ab|ef   |k|%");
    EXPECT_EQ(Ours("%s", static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(Ours("%s", static_cast<const WideChar*>(nullptr)), "(null)");
    const WideChar wide[] = {'C', ':', 0x00E9, 0xD83D, 0xDE00, 0xD800, 0};  // the last surrogate is unpaired
    EXPECT_EQ(Ours("at %s.", wide), "at C:\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD.");
    const void* anchor = "anchor";
    EXPECT_EQ(Ours("%p", anchor), Ours("0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(anchor))));
}

TEST(FormatTest, CutsToTheBufferAndReportsTheFullLength) {
    char buffer[8];
    EXPECT_EQ(Format(buffer, sizeof buffer, "%s-%d", "abcdef", 12345), 12u);
    EXPECT_STREQ(buffer, "abcdef-");
    EXPECT_EQ(Format(buffer, 1, "%d", 5), 1u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(Format(nullptr, 0, "%d", 12345), 5u);
}

TEST(FormatTest, AFormatThatDoesNotFitItsArgumentsSaysSo) {
    EXPECT_EQ(Ours("%d and %d", 1), "Cannot format \"%d and %d\": argument not found");
    EXPECT_EQ(Ours("%y", 1).rfind("Cannot format \"%y\"", 0), 0u);
}

TEST(FormatTest, DecimalPointIgnoresTheProcessLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252", "de-DE"};
    bool switched = false;
    for (const char* name : comma) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            switched = true;
            break;
        }
    }
    const std::string text = Ours("Tap (%.2f,%.2f) %f %g", 0.5, 0.25, 1234.5, 0.125f);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "Tap (0.50,0.25) 1234.500000 0.125");
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma on this machine; the dot was checked in C";
}

}  // namespace
}  // namespace Keyweave
