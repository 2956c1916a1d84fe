// The engine's formatting against the C library's, its bounds and its locale
// independence.
#include "base/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace Keyweave {
namespace {

template <typename... Args>
std::string Ours(const char* format, Args... args) {
    char buffer[2048];
    Format(buffer, sizeof buffer, format, args...);
    return buffer;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
template <typename... Args>
std::string Theirs(const char* format, Args... args) {
    char buffer[2048];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}
#pragma GCC diagnostic pop

// The conversions the engine's texts use, compared with the C library in the "C" locale.
TEST(FormatTest, NumbersMatchTheCLibrary) {
    for (const char* format : {"%d", "%2d", "%u", "%08x", "%04x", "%02X", "%+d"}) {
        for (int value : {0, 7, -42, 123456, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
            EXPECT_EQ(Ours(format, value), Theirs(format, value)) << format << " " << value;
        }
    }
    EXPECT_EQ(Ours("%lld %6lld %zu", -9223372036854775807ll - 1, 42ll, size_t{77}),
              Theirs("%lld %6lld %zu", -9223372036854775807ll - 1, 42ll, size_t{77}));
    for (const char* format : {"%f", "%.2f", "%.4f", "%6.2f", "%g"}) {
        for (double value : {0.0, -0.0, 0.5, 1.0 / 3.0, -2.675, 1e-7, 123456789.125, 0.015, 99.995}) {
            EXPECT_EQ(Ours(format, value), Theirs(format, value)) << format << " " << value;
            const float single = static_cast<float>(value);  // a float argument prints as the double it widens to
            EXPECT_EQ(Ours(format, single), Theirs(format, static_cast<double>(single))) << format << " " << single;
        }
    }
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
