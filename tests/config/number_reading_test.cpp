// Numbers in keymap text: what "%f" and "%d" patterns accept, what huge
// numbers become, and independence from the C locale.
#include "config/number_reading.h"

#include <clocale>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace Keyweave {
namespace {

using Numbers::ReadFloat;
using Numbers::ReadInt;
using Numbers::Scan;

constexpr float kLargest = std::numeric_limits<float>::max();

TEST(NumberReadingTest, FloatsTakeTheLongestDecimalPrefix) {
    struct Case {
        const char* text;
        float value;
        const char* rest;
    };
    const Case kCases[] = {
        {"50", 50.0f, ""},     {" \t50.25,", 50.25f, ","}, {"-.5)", -0.5f, ")"}, {"+7.", 7.0f, ""},
        {"1e2x", 100.0f, "x"}, {"1e", 1.0f, "e"},          {"1E-1", 0.1f, ""},   {"2e+1", 20.0f, ""},
        {"0x10", 0.0f, "x10"}, {"1,5", 1.0f, ",5"},        {"007", 7.0f, ""},
    };
    for (const Case& c : kCases) {
        std::string_view text = c.text;
        float value = -1;
        ASSERT_TRUE(ReadFloat(text, value)) << c.text;
        EXPECT_FLOAT_EQ(value, c.value) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
}

TEST(NumberReadingTest, TextsThatAreNotNumbersLeaveEverythingAlone) {
    for (const char* text : {"", " ", "-", "+", ".", "-.", "e5", "inf", "nan", "NAN", "x1", "(1"}) {
        std::string_view view = text;
        float value = 42.0f;
        EXPECT_FALSE(ReadFloat(view, value)) << text;
        EXPECT_EQ(value, 42.0f) << text;
        EXPECT_EQ(view, text) << text;
        int32_t integer = 42;
        EXPECT_FALSE(ReadInt(view, integer)) << text;
        EXPECT_EQ(integer, 42) << text;
    }
}

TEST(NumberReadingTest, NumbersOutOfRangeSaturate) {
    const std::string nines(400, '9'), zeros(300, '0');
    const std::pair<std::string, float> kFloats[] = {
        {nines, kLargest},
        {"-" + nines + ".5e99999999999999999999", -kLargest},
        {"1e-99999", 0.0f},
        {"0." + zeros + "1e250", 0.0f},
        {"0." + zeros + "1e350", kLargest},  // 1e-51 and 1e49
    };
    for (const auto& [text, expected] : kFloats) {
        std::string_view view = text;
        float value = -1;
        ASSERT_TRUE(ReadFloat(view, value)) << text;
        EXPECT_EQ(value, expected) << text;
        EXPECT_TRUE(view.empty()) << text;
    }
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    const std::pair<std::string, int32_t> kInts[] = {
        {nines, kMax}, {"-2147483649", kMin}, {"-2147483648", kMin}, {"2147483647", kMax}};
    for (const auto& [text, expected] : kInts) {
        std::string_view view = text;
        int32_t value = 0;
        ASSERT_TRUE(ReadInt(view, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
}

TEST(NumberReadingTest, IntegersStopAtTheFirstNonDigit) {
    int32_t value = 0;
    std::string_view text = " -12.5";
    ASSERT_TRUE(ReadInt(text, value));
    EXPECT_EQ(value, -12);
    EXPECT_EQ(text, ".5");
}

TEST(NumberReadingTest, ScanCountsTheValuesConvertedBeforeTheFirstMismatch) {
    float x = -1, y = -1, r = -1;
    EXPECT_EQ(Scan("(50,80)", "(%f,%f)", {x, y}), 2);
    EXPECT_EQ(Scan("(50, 80", "(%f,%f)", {x, y}), 2) << "a conversion skips blanks; the ')' is never reached";
    EXPECT_EQ(Scan("(50 ,80)", "(%f,%f)", {x, y}), 1) << "a literal does not";
    EXPECT_EQ(Scan(" (50,80)", "(%f,%f)", {x, y}), 0);
    EXPECT_EQ(Scan("(50)", "(%f,%f,%f)", {x, y, r}), 1);
    EXPECT_EQ(Scan("", "(%f)", {x}), 0);

    float a = 0, b = 0;
    int32_t n = 99;
    EXPECT_EQ(Scan("(1.5,.5)", "(%f,%d)", {a, n}), 1);
    EXPECT_EQ(n, 99) << "an unread target keeps its value";
    EXPECT_EQ(Scan("(1.5,2,3.5)", "(%f,%f,%f)", {a, b, r}), 3);
    EXPECT_FLOAT_EQ(r, 3.5f);
    EXPECT_EQ(Scan("1 \t 2", "%d %d", {n, n}), 2) << "a blank in the pattern matches any run of blanks";
}

TEST(NumberReadingTest, TruncationSaturatesAtTheIntegerLimits) {
    EXPECT_EQ(Numbers::TruncateToInt32(12.9f), 12);
    EXPECT_EQ(Numbers::TruncateToInt32(-12.9f), -12);
    EXPECT_EQ(Numbers::TruncateToInt32(3e9f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Numbers::TruncateToInt32(-3e9f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Numbers::TruncateToInt32(kLargest), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Numbers::TruncateToInt32(std::numeric_limits<float>::quiet_NaN()), 0);
}

// A C locale with a decimal comma, set for one test and restored after it.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current ? current : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "de-DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                active_ = *std::localeconv()->decimal_point == ',';
                if (active_) return;
            }
        }
        std::setlocale(LC_ALL, saved_.c_str());
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    bool Active() const { return active_; }

private:
    std::string saved_;
    bool active_ = false;
};

TEST(NumberReadingTest, ScanIsTheSameUnderADecimalCommaLocale) {
    DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    float x = 0, y = 0;
    EXPECT_EQ(Scan("(50.5,80)", "(%f,%f)", {x, y}), 2);
    EXPECT_FLOAT_EQ(x, 50.5f);
    EXPECT_EQ(Scan("(50,5,80)", "(%f,%f)", {x, y}), 2) << "a comma only ever separates values";
    EXPECT_FLOAT_EQ(y, 5.0f);
}

}  // namespace
}  // namespace Keyweave
