// The engine's formatter against the C library's, and its locale independence.
#include "engine/format.h"
#include "engine/text.h"

#include <gtest/gtest.h>

#include <clocale>
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

// Every case is compared with the C library in the "C" locale.
TEST(FormatTest, IntegersMatchTheCLibrary) {
    const char* formats[] = {"%d", "%5d", "%-5d|", "%05d", "%+d", "% d", "%.3d", "%8.3d", "%x", "%X", "%#x", "%o", "%#o", "%u", "%i", "%.0d"};
    const int values[] = {0, 1, -1, 42, -42, 123456, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
    for (const char* format : formats) {
        for (int value : values) {
            EXPECT_EQ(Ours(format, value), Theirs(format, value)) << format << " " << value;
        }
    }
    EXPECT_EQ(Ours("%llu %lld", 18446744073709551615ull, -9223372036854775807ll - 1),
              Theirs("%llu %lld", 18446744073709551615ull, -9223372036854775807ll - 1));
    EXPECT_EQ(Ours("%zu %hhd %hd", size_t{77}, 300, 70000), Theirs("%zu %hhd %hd", size_t{77}, 300, 70000));
    EXPECT_EQ(Ours("%*d|%-*d|%.*d", 6, 5, 4, 3, 3, 7), Theirs("%*d|%-*d|%.*d", 6, 5, 4, 3, 3, 7));
}

TEST(FormatTest, FloatsMatchTheCLibrary) {
    const char* formats[] = {"%f", "%.2f", "%.0f", "%#.0f", "%10.3f", "%-10.1f|", "%+f", "% f", "%010.2f", "%e", "%.3E", "%g", "%G", "%.3g", "%g"};
    const double values[] = {0.0, -0.0, 0.5, 0.25, 1.0 / 3.0, -2.675, 1e-7, 123456789.125, 1e21, 2.5, 0.015, 99.995};
    for (const char* format : formats) {
        for (double value : values) {
            EXPECT_EQ(Ours(format, value), Theirs(format, value)) << format << " " << value;
        }
    }
    const double huge = std::numeric_limits<double>::max();
    EXPECT_EQ(Ours("%f", huge), Theirs("%f", huge));
    EXPECT_EQ(Ours("%f %F", std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()), "inf -INF");
    EXPECT_EQ(Ours("%f", std::numeric_limits<double>::quiet_NaN()).find("nan") != std::string::npos, true);
}

TEST(FormatTest, StringsCharactersAndPercent) {
    EXPECT_EQ(Ours("%s|%5s|%-5s|%.2s|%c|%%", "ab", "cd", "ef", "ghij", 'k'), "ab|   cd|ef   |gh|k|%");
    EXPECT_EQ(Ours("%s", static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(Ours("%S", static_cast<const WideChar*>(nullptr)), "(null)");
    EXPECT_EQ(Ours("trailing %"), "trailing %");
    EXPECT_EQ(Ours("%y unknown"), "%y unknown");
    EXPECT_NE(Ours("%p", static_cast<const void*>("anchor")).find("0x"), std::string::npos);
}

TEST(FormatTest, CutsToTheBufferAndReportsTheFullLength) {
    char buffer[8];
    EXPECT_EQ(Format(buffer, sizeof buffer, "%s-%d", "abcdef", 12345), 12u);
    EXPECT_STREQ(buffer, "abcdef-");
    EXPECT_EQ(Format(buffer, 0, "%d", 5), 1u);
    EXPECT_EQ(Format(buffer, 1, "%d", 5), 1u);
    EXPECT_STREQ(buffer, "");
    // A huge width is bounded instead of writing forever.
    char line[64];
    EXPECT_LE(Format(line, sizeof line, "%999999999d", 1), 4097u);
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
    const std::string text = Ours("Tap (%.2f,%.2f) %f", 0.5, 0.25, 1234.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "Tap (0.50,0.25) 1234.500000");
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma on this machine; the dot was checked in C";
}

}  // namespace
}  // namespace Keyweave
