// Numbers in keymap text: what "%f" and "%d" patterns accept, what huge
// numbers become, and independence from the C locale.
#include "config/number_reading.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "keymap_fixture.h"

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
        {"50", 50.0f, ""},         {" \t50.25,", 50.25f, ","},  {"-.5)", -0.5f, ")"},   {"+7.", 7.0f, ""},
        {"1e2x", 100.0f, "x"},     {"1e", 1.0f, "e"},           {"1E-1", 0.1f, ""},     {"2e+1", 20.0f, ""},
        {"0x10", 0.0f, "x10"},     {"1,5", 1.0f, ",5"},         {"007", 7.0f, ""},
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
    const std::string hundreds(400, '9');
    float value = 0;
    std::string_view text = hundreds;
    ASSERT_TRUE(ReadFloat(text, value));
    EXPECT_EQ(value, kLargest);
    EXPECT_TRUE(text.empty());

    const std::string negative = "-" + hundreds + ".5e99999999999999999999";
    text = negative;
    ASSERT_TRUE(ReadFloat(text, value));
    EXPECT_EQ(value, -kLargest);

    text = "1e-99999";
    ASSERT_TRUE(ReadFloat(text, value));
    EXPECT_EQ(value, 0.0f);
    const std::string tiny = "0." + std::string(300, '0') + "1e250";  // 1e-51
    text = tiny;
    ASSERT_TRUE(ReadFloat(text, value));
    EXPECT_EQ(value, 0.0f);
    const std::string big = "0." + std::string(300, '0') + "1e350";  // 1e49
    text = big;
    ASSERT_TRUE(ReadFloat(text, value));
    EXPECT_EQ(value, kLargest);

    int32_t integer = 0;
    text = hundreds;
    ASSERT_TRUE(ReadInt(text, integer));
    EXPECT_EQ(integer, std::numeric_limits<int32_t>::max());
    text = "-2147483649";
    ASSERT_TRUE(ReadInt(text, integer));
    EXPECT_EQ(integer, std::numeric_limits<int32_t>::min());
    text = "-2147483648";
    ASSERT_TRUE(ReadInt(text, integer));
    EXPECT_EQ(integer, std::numeric_limits<int32_t>::min());
    text = "2147483647";
    ASSERT_TRUE(ReadInt(text, integer));
    EXPECT_EQ(integer, std::numeric_limits<int32_t>::max());
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

class DecimalCommaTest : public Testing::ActionTest {};

TEST_F(DecimalCommaTest, KeymapsReadTheSameUnderADecimalCommaLocale) {
    DecimalCommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const Action* tap = Bind("Tap (50.5,80)");
    ASSERT_NE(tap, nullptr);
    EXPECT_EQ(static_cast<const TapAction*>(tap)->point, (Point{0.505f, 0.8f}));
    const Action* separated = Bind("Tap (50,5,80)");  // a comma only ever separates values
    ASSERT_NE(separated, nullptr);
    EXPECT_EQ(static_cast<const TapAction*>(separated)->point, (Point{0.5f, 0.05f}));
    EXPECT_TRUE(Load("# SWIPE_PINCH(0.35,120,0.25,0.15,0.05,60)\n"));
    EXPECT_EQ(knobs, (EmulationKnobs{0.35f, 120, 0.25f, 0.15f, 0.05f, 60}));
}

}  // namespace
}  // namespace Keyweave
