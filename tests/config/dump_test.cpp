// The dump of a loaded keymap in the log, the summary for the host, and
// loading a whole configuration.
#include "config/dump.h"

#include <gtest/gtest.h>

#include "config/config_loader.h"
#include "keymap_fixture.h"

namespace Keyweave::Testing {
namespace {

using DumpTest = KeymapTest;

Lines DumpOf(const Config& config, const Log& log, RecordingHost& host) {
    host.ClearRecords();
    DumpToLog(config, log);
    return host.Logs();
}

// Each action's own text is the record's description (see actions_test). Keys
// in ascending code order are the racer's dump golden run; a whole load with
// its dump is the engine's load test.
TEST_F(DumpTest, SeveralActionsAndUnnamedKeys) {
    ASSERT_TRUE(Load("[keys]\nA = Tap (10,10); Key Space\n"));
    const Lines lines = DumpOf(*config, log, host);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "    A");
    EXPECT_TRUE((lines[3] == "        Tap (0.10,0.10)" && lines[4] == "        Key Space") ||
                (lines[4] == "        Tap (0.10,0.10)" && lines[3] == "        Key Space"));

    config = std::make_unique<Config>();
    config->mKeyRules[{1, 30}].insert(config->Adopt(std::make_unique<TapAction>(Point{0.25f, 0.75f})));
    EXPECT_EQ(DumpOf(*config, log, host),
              (Lines{"Config for package ", "Keys:", "    UNKNOWN,A", "        Tap (0.25,0.75)"}));
}

TEST_F(DumpTest, TheSummaryDescribesTheControllerWithTranslatedLabels) {
    ASSERT_TRUE(Load("[keys]\nA = Tap\n"));
    config->SetPackage("com.example.game");
    EXPECT_EQ(SummaryText(*config), "Default|Package=com.example.game") << "without a controller";

    locale = "fr";
    ASSERT_TRUE(Load("[strings]\nJump = Saut\nFire = Feu\nLean = Pencher\n"
                     "[strings.fr]\nFire = Tirer\n"
                     "[opensensor]\n"
                     "Mode = Joystick\n"
                     "Up = Enter Go\n"
                     "A = Space Jump\n"
                     "B = Z Fire\n"
                     "Area2 = (50,0,50,100) Fire\n"
                     "Area1 = (10,20,30,40) Jump\n"
                     "Tilt = Lean\n"
                     "SwipeTap = Swipe here\n"));
    config->SetPackage("pkg");
    EXPECT_EQ(SummaryText(*config), "Joystick|Package=pkg|A=Saut|B=Tirer|u=Go"
                                   "|Area1=(0.10,0.20,0.30,0.40) Saut|Area2=(0.50,0.00,0.50,1.00) Tirer"
                                   "|Tilt=Pencher|SwipeTap=Swipe here");
}

TEST_F(DumpTest, EachSummaryPieceIsCutTo255Characters) {
    const std::string label(400, 'x');
    ASSERT_TRUE(Load("[opensensor]\nMode = " + std::string(300, 'M') + "\nA = Space " + label + "\nTilt = " + label +
                     "\n"));
    EXPECT_EQ(SummaryText(*config), std::string(300, 'M') + "|Package=" + "|A=" + std::string(252, 'x') + "|Tilt=" +
                                       std::string(249, 'x'));
}

TEST_F(DumpTest, AConfigurationThatCannotBeReadIsNotReturned) {
    const WideString missing = Write("") + ToWide("-gone");
    host.ClearRecords();
    EXPECT_EQ(LoadConfig(missing.c_str(), Context()), nullptr);
    EXPECT_EQ(Logs(), Lines{"Cannot open configuration file " + ToUtf8(missing)});

    const WideString tooLong = Write("[keys]\nA = Tap\n" + std::string(9000, ' ') + "\n", "long.cfg");
    host.ClearRecords();
    EXPECT_EQ(LoadConfig(tooLong.c_str(), Context()), nullptr);
    EXPECT_EQ(Logs(), (Lines{"Keyweave::Config::Parser::ParseTapAction()", "Cannot read line from configuration file"}));
}

}  // namespace
}  // namespace Keyweave::Testing
