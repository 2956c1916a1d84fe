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

TEST_F(DumpTest, EveryRuleIsDumpedWithItsKeysAndTheDescriptionsOfItsActions) {
    ASSERT_TRUE(Load("[keys]\n"
                     "1 = Tap (50,50)\n"
                     "2 = Swipe Down (10,20)\n"
                     "3 = SwipeXY (20,50,80,40)\n"
                     "4 = SwipeTrace (1,1,2,2)\n"
                     "5 = SwipeHold Left (20,70,8)\n"
                     "6 = Tilt Absolute (1,2)\n"
                     "7 = Tilt Relative (1,2)\n"
                     "8 = MouseSwipe (50,40,12.9)\n"
                     "9 = MouseHold (50,50,70,60)\n"
                     "0 = TapSwipe (80,60,10,1)\n"
                     "Q = TapTap (40,50,60,50)\n"
                     "W = TapSwipeClick (85,75,12)\n"
                     "E = TouchMove (50,40)\n"
                     "R = TapCancel (20,70)\n"
                     "T = ShootMove (50,40,30)\n"
                     "Y = TapMacros (3)\n"
                     "U = Key NoSuchKey\n"
                     "I = Key Space\n"));
    EXPECT_EQ(DumpOf(*config, log, host), (Lines{"Config for package ",
                                                 "Keys:",
                                                 "    1",
                                                 "        Tap (0.50,0.50)",
                                                 "    2",
                                                 "        Swipe Down (0.10,0.20)",
                                                 "    3",
                                                 "        SwipeXY startPoint (0.20,0.50) endPoint (0.80,0.40)",
                                                 "    4",
                                                 "        ",
                                                 "    5",
                                                 "        Swipe Hold Left (0.20,0.70)",
                                                 "    6",
                                                 "        Tilt Absolute",
                                                 "    7",
                                                 "        Tilt Relative",
                                                 "    8",
                                                 "        MouseSwipe Point (0.50,0.40,12.00)",
                                                 "    9",
                                                 "        MouseHold (0.50,0.50 0.70,0.60)",
                                                 "    0",
                                                 "        TapSwipeAction (0.80,0.60,10.00)",
                                                 "    Q",
                                                 "        TapTap (0.40,0.50,0.60,0.50)",
                                                 "    W",
                                                 "        TapClickSwipe Point (0.85,0.75,12.00)",
                                                 "    E",
                                                 "        TouchMove (0.50,0.40)",
                                                 "    R",
                                                 "        TouchMove (0.20,0.70)",
                                                 "    T",
                                                 "        ShoothMove (0.50,0.40)",
                                                 "    Y",
                                                 "        TapMacroAction",
                                                 "    U",
                                                 "        Key UNKNOWN",
                                                 "    I",
                                                 "        Key Space"}));
}

TEST_F(DumpTest, KeyNamesAreDumpedInAscendingCodeOrder) {
    ASSERT_TRUE(Load("# ENABLE_SHOOTING_MODE\n[keys]\nSpace = SuspendShoot\nA,Ctrl = Tap (50,50)\n"
                     "S = ShootMode (50,40,90,80,40)\n"));
    config->SetPackage("com.example.game");
    EXPECT_EQ(DumpOf(*config, log, host),
              (Lines{"Config for package com.example.game", "Keys:", "    Ctrl,A", "        Tap (0.50,0.50)", "    S",
                     "        ShoothMode (0.50,0.40)", "    Space", "        SuspendShoot"}));
}

TEST_F(DumpTest, ARuleWithSeveralActionsListsThemAll) {
    ASSERT_TRUE(Load("[keys]\nA = Tap (10,10); Key Space\n"));
    const Lines lines = DumpOf(*config, log, host);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], "    A");
    EXPECT_TRUE((lines[3] == "        Tap (0.10,0.10)" && lines[4] == "        Key Space") ||
                (lines[4] == "        Tap (0.10,0.10)" && lines[3] == "        Key Space"));
}

TEST_F(DumpTest, AnUnnamedKeyCodeIsDumpedAsUnknown) {
    config->mKeyRules[{1, 30}].insert(config->Adopt(std::make_unique<TapAction>(Point{0.25f, 0.75f})));
    EXPECT_EQ(DumpOf(*config, log, host),
              (Lines{"Config for package ", "Keys:", "    UNKNOWN,A", "        Tap (0.25,0.75)"}));
}

TEST_F(DumpTest, WithoutAControllerTheSummaryIsTheModeAndThePackage) {
    ASSERT_TRUE(Load("[keys]\nA = Tap\n"));
    config->SetPackage("com.example.game");
    EXPECT_EQ(SummaryText(*config), "Default|Package=com.example.game");
}

TEST_F(DumpTest, TheSummaryDescribesTheControllerWithTranslatedLabels) {
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

TEST_F(DumpTest, LoadingAConfigurationParsesAndDumpsIt) {
    const WideString path = Write("[keys]\nA = Tap (50,50)\n[opensensor]\nB = Space Jump\n");
    host.ClearRecords();
    const std::unique_ptr<Config> loaded = LoadConfig(path.c_str(), Context());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Logs(), (Lines{"Keyweave::Config::Parser::ParseTapAction((50,50))", "Config for package ", "Keys:",
                             "    A", "        Tap (0.50,0.50)"}));
    EXPECT_EQ(loaded->ControllerKey('B'), 57u);
    EXPECT_EQ(loaded->GetActions({kA}).size(), 1u);
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
