// Section headers and the rules of [keys], [gamepad], [gamepad2],
// [opensensor] and the string sections.
#include <gtest/gtest.h>

#include <cmath>

#include "codes/control_codes.h"
#include "config/parser.h"
#include "keymap_fixture.h"

namespace Keyweave::Testing {
namespace {

using SectionTest = KeymapTest;

TEST_F(SectionTest, HeadersSelectTheirSectionWhateverTheCase) {
    locale = "en_us";
    Config::Parser parser(*config, Context());
    const std::pair<const char*, Config::Parser::Section> kHeaders[] = {
        {"[origin]", Config::Parser::kOrigin},
        {"[Keys]", Config::Parser::kKeys},
        {"[GUIDANCE]", Config::Parser::kGuidance},
        {"[GamePad]", Config::Parser::kGamePad},
        {"[gamepad2]", Config::Parser::kGamePad2},
        {"[OpenSensor]", Config::Parser::kOpenSensor},
        {"[Strings]", Config::Parser::kStrings},
        {"[strings.en-US]", Config::Parser::kLocalStrings},
        {"[strings.fr]", Config::Parser::kOtherStrings},
        {"[  keys  ]", Config::Parser::kKeys},
        {"[keys # the bindings]", Config::Parser::kKeys},
    };
    for (const auto& [header, section] : kHeaders) {
        EXPECT_TRUE(parser.ProcessLine(header)) << header;
        EXPECT_EQ(parser.CurrentSection(), section) << header;
    }
    EXPECT_TRUE(Logs().empty());

    // Without a locale every localised string section is ignored.
    locale.clear();
    Config::Parser plain(*config, Context());
    EXPECT_TRUE(plain.ProcessLine("[strings.en-US]"));
    EXPECT_EQ(plain.CurrentSection(), Config::Parser::kOtherStrings);
    EXPECT_TRUE(plain.ProcessLine("Jump = Leap"));
    EXPECT_TRUE(config->mLocalStrings.empty());
    EXPECT_TRUE(config->mStrings.empty());
}

// An unclosed header keeps the section (the faulty keymap's golden check); so
// does a header with anything after its bracket.
TEST_F(SectionTest, AHeaderWithTextAfterItsBracketKeepsTheSection) {
    EXPECT_TRUE(Load("[keys]\n[gamepad] # pads\nA = Tap\n"));
    EXPECT_EQ(Logs(), (Lines{"Invalid section specifier: [gamepad] # pads", "Cannot process line: [gamepad] # pads",
                             "Keyweave::Config::Parser::ParseTapAction()"}));
    EXPECT_NE(Only<TapAction>({kA}, kTapAction), nullptr);
}

TEST_F(SectionTest, AnUnknownSectionFailsItsRulesUntilTheNextHeader) {
    EXPECT_TRUE(Load("[keys]\n[Un-Known]\nA = Tap\n[]\n[keys]\nS = Tap\n"));
    EXPECT_EQ(Logs(), (Lines{"Invalid section name: un_known", "Cannot process line: [Un-Known]",
                             "No section specifier for rule 'A = Tap'", "Cannot process line: A = Tap",
                             "Invalid section name: ", "Cannot process line: []",
                             "Keyweave::Config::Parser::ParseTapAction()"}));
    EXPECT_TRUE(config->GetActions({kA}).empty());
    EXPECT_NE(Only<TapAction>({kS}, kTapAction), nullptr);
}

TEST_F(SectionTest, IgnoredSectionsAcceptAnything) {
    EXPECT_TRUE(Load("[origin]\nwhatever you like\n[guidance]\nPress A = to jump\n[strings.xx]\nnot a rule\n"));
    EXPECT_TRUE(Logs().empty());
    EXPECT_TRUE(config->mStrings.empty());
    EXPECT_TRUE(config->mKeyRules.empty());
}

TEST_F(SectionTest, KeyRulesBindKeySetsAndMarkCombinations) {
    EXPECT_TRUE(Load("[keys]\nA,A = Tap (10,10)\nCtrl,A = Tap (50,50)\nA,Ctrl = Tap (60,60)\nS,Space = Tap\n"));
    EXPECT_EQ(Logs(), (Lines{"Keyweave::Config::Parser::ParseTapAction((10,10))",
                             "Keyweave::Config::Parser::ParseTapAction((50,50))", "Marking config multi-key aware",
                             "Keyweave::Config::Parser::ParseTapAction((60,60))",
                             "Keyweave::Config::Parser::ParseTapAction()"}));
    EXPECT_TRUE(config->MultiKeyAware());
    ASSERT_NE(Only<TapAction>({kA}, kTapAction), nullptr);
    EXPECT_EQ(Only<TapAction>({kA}, kTapAction)->point, (Point{0.1f, 0.1f}));
    ASSERT_NE(Only<TapAction>({kCtrl, kA}, kTapAction), nullptr);
    EXPECT_EQ(Only<TapAction>({kCtrl, kA}, kTapAction)->point, (Point{0.6f, 0.6f})) << "the later rule replaces";
    EXPECT_TRUE(config->GetActions({kCtrl}).empty());
    EXPECT_TRUE(config->GetActions({kCtrl, kA, kS}).empty()) << "key sets match only when equal";
    EXPECT_EQ(config->mKeyRules.size(), 3u);
    EXPECT_TRUE(Load("[keys]\nA,A = Tap\nLeftClick = Tap\n"));
    EXPECT_FALSE(config->MultiKeyAware()) << "single-key rules leave the configuration unaware";
}

TEST_F(SectionTest, ARuleMayHoldSeveralActionsAndALaterRuleReplacesThemAll) {
    EXPECT_TRUE(Load("[keys]\nA = Tap (10,10); Tap (90,90);Key Space\n"));
    const ActionSet& actions = config->GetActions({kA});
    ASSERT_EQ(actions.size(), 3u);
    std::vector<uint32_t> types;
    for (const Action* action : actions) types.push_back(action->type);
    std::sort(types.begin(), types.end());
    EXPECT_EQ(types, (std::vector<uint32_t>{kKeyAction, kTapAction, kTapAction}));

    Config::Parser parser(*config, Context());
    ASSERT_TRUE(parser.ProcessLine("[keys]"));
    EXPECT_TRUE(parser.ProcessLine("A = Key Enter"));
    const auto* key = Only<KeyAction>({kA}, kKeyAction);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->keyCode, 28u);
}

// A blank in a key set, a missing "=" and an empty action are in the faulty
// keymap's golden check.
TEST_F(SectionTest, BadKeyRulesStoreNothing) {
    EXPECT_TRUE(Load("[keys]\n"
                     "A=Tap\n"
                     "a = Tap\n"
                     "A = Tap (10,10); Swipe Sideways\n"
                     "A = Tap (10,10);\n"));
    EXPECT_EQ(Logs(), (Lines{"Rule with invalid key spec: A=Tap", "Cannot process line: A=Tap",
                             "Rule with invalid key spec: a = Tap", "Cannot process line: a = Tap",
                             "Keyweave::Config::Parser::ParseTapAction((10,10))",
                             "Keyweave::Config::Parser::ParseSwipeAction(Sideways)", "Cannot parse direction: Sideways",
                             "Cannot parse keys rule: A = Tap (10,10); Swipe Sideways",
                             "Cannot process line: A = Tap (10,10); Swipe Sideways",
                             "Keyweave::Config::Parser::ParseTapAction((10,10))", "Rule with invalid action: ",
                             "Cannot parse keys rule: A = Tap (10,10);", "Cannot process line: A = Tap (10,10);"}));
    EXPECT_TRUE(config->mKeyRules.empty());
    EXPECT_EQ(config->OwnedRecordCount(), 0u) << "the actions of a failed rule are not kept";
    EXPECT_FALSE(config->MultiKeyAware());
}

TEST_F(SectionTest, GamePadKeyRulesMapControlsToKeys) {
    EXPECT_TRUE(Load("[gamepad]\nA = Space\nA = Enter\nStart = Tab the menu\nLeftStick = Tilt\nHat_Up = Up\n"));
    EXPECT_TRUE(Logs().empty());
    EXPECT_EQ(config->mGamePadKeys, (std::map<uint32_t, uint32_t>{{GamePad::kA, 28}, {GamePad::kStart, 15},
                                                                 {GamePad::kHatUp, 0xE048}}));
    EXPECT_TRUE(config->GamePadTilt());
}

TEST_F(SectionTest, BadGamePadKeyRules) {
    // A tilt on the right stick and an unknown control are in the faulty keymap's golden check.
    EXPECT_TRUE(Load("[gamepad]\nLT_RT = Space\nB = Jump\nB Space\n"));
    EXPECT_EQ(Logs(), (Lines{"Cannot parse input for line: LT_RT = Space",
                             "Cannot process line: LT_RT = Space", "Rule with invalid key: B = Jump",
                             "Cannot process line: B = Jump", "Rule missing assignment operator: B Space",
                             "Cannot process line: B Space"}));
    EXPECT_TRUE(config->mGamePadKeys.empty());
    EXPECT_FALSE(config->GamePadTilt());
}

TEST_F(SectionTest, HideCursorNoShowsTheCursor) {
    EXPECT_TRUE(Load("[gamepad]\nHide_Cursor = Yes\n"));
    EXPECT_FALSE(config->ShowCursor());
    EXPECT_TRUE(Load("[gamepad]\nHide_Cursor = No way\nHide_Cursor No\n"));
    EXPECT_EQ(Logs(), (Lines{"Rule has trailing junk: Hide_Cursor = No way", "Cannot process line: Hide_Cursor = No way",
                             "Rule missing assignment operator: Hide_Cursor No", "Cannot process line: Hide_Cursor No"}));
    EXPECT_FALSE(config->ShowCursor());
    EXPECT_TRUE(Load("[gamepad]\nHide_Cursor = No\n"));
    EXPECT_TRUE(config->ShowCursor());
}

TEST_F(SectionTest, TiltRulesSetTheGamePadTiltParameters) {
    EXPECT_TRUE(Load("[gamepad]\nTilt_PitchMax = 30\nTilt_RollZero = -90\nTilt_PitchZero = 0\n"));
    EXPECT_TRUE(Logs().empty());
    // Stick fully up: pitch 30 (the new maximum); roll -90 from its zero.
    accelerometer->GamePadTilt(0, -1000);
    const auto sensors = host.Sensors();
    ASSERT_EQ(sensors.size(), 1u);
    EXPECT_NEAR(sensors[0].x, -1.0f, 1e-6);
    EXPECT_NEAR(sensors[0].y, 0.5f, 1e-6);
}

TEST_F(SectionTest, BadTiltRules) {
    EXPECT_TRUE(Load("[gamepad]\nTilt_RollMax = ninety\nTilt_Yaw = 5\nTilt_RollMax = 5 6\nTilt_RollMax 5\n"));
    EXPECT_EQ(Logs(), (Lines{"Cannot parse angle: Tilt_RollMax = ninety", "Cannot process line: Tilt_RollMax = ninety",
                             "Cannot handle GamePad tilt rule: Tilt_Yaw = 5", "Cannot process line: Tilt_Yaw = 5",
                             "Rule has trailing junk: Tilt_RollMax = 5 6", "Cannot process line: Tilt_RollMax = 5 6",
                             "Rule missing assignment operator: Tilt_RollMax 5",
                             "Cannot process line: Tilt_RollMax 5"}));
    accelerometer->GamePadTilt(1000, 0);  // still the default roll maximum of 90
    ASSERT_EQ(host.Sensors().size(), 1u);
    EXPECT_NEAR(host.Sensors()[0].x, 1.0f, 1e-6);

    // A file checked without an accelerometer reads the rules all the same.
    Config other;
    Config::Parser parser(other, ParseContext{log, "", nullptr, nullptr});
    ASSERT_TRUE(parser.ProcessLine("[gamepad]"));
    EXPECT_TRUE(parser.ProcessLine("Tilt_RollMax = 45"));
}

TEST_F(SectionTest, GamePadActionRulesBindActionsToControls) {
    EXPECT_TRUE(Load("[gamepad2]\n"
                     "RightStick = TouchMove (0.5,0.5,50)\n"
                     "LeftStick = SwipeHold (0.2,0.7,10,40)\n"
                     "A = Tap (50,50) # fire\n"
                     "B = Tap (10,10)\n"
                     "B = TapCancel (20,70)\n"
                     "X = Tilt Absolute (10,0) Return\n"));
    EXPECT_EQ(Logs(), (Lines{"Keyweave::Config::Parser::ParseStickhMoveAction((0.5,0.5,50))",
                             "Keyweave::Config::Parser::ParseStickHoldeAction((0.2,0.7,10,40))",
                             "Keyweave::Config::Parser::ParseTapAction((50,50))",
                             "Keyweave::Config::Parser::ParseTapAction((10,10))",
                             "Keyweave::Config::Parser::ParseTapCancelAction((20,70))",
                             "Keyweave::Config::Parser::ParseTiltAction(Absolute (10,0) Return)",
                             "Keyweave::Config::Parser::ParseAbsoluteTiltAction((10,0) Return)"}));
    ASSERT_EQ(config->mGamePadActions.size(), 5u);
    const Action* move = config->GamePadAction(GamePad::kRightStick);
    ASSERT_EQ(move->type, kStickMoveAction);
    EXPECT_EQ(static_cast<const StickMoveAction*>(move)->point, (Point{50.0f, 50.0f}));
    EXPECT_FLOAT_EQ(static_cast<const StickMoveAction*>(move)->sensitivity, 0.05f);
    EXPECT_EQ(config->GamePadAction(GamePad::kLeftStick)->type, kStickHoldAction);
    EXPECT_EQ(config->GamePadAction(GamePad::kA)->type, kTapAction);
    EXPECT_EQ(config->GamePadAction(GamePad::kB)->type, kTapCancelAction);
    EXPECT_EQ(config->GamePadAction(GamePad::kX)->type, kAbsoluteTiltAction);
    EXPECT_TRUE(config->mKeyRules.empty());
}

TEST_F(SectionTest, GamePadActionRulesTakeOnlyTheirOwnKeywords) {
    EXPECT_TRUE(Load("[gamepad2]\nA = Key Space\nB = SwipeTrace (1,1,2,2)\nTurbo = Tap\nA Tap\nY = Swipe Upward\n"));
    EXPECT_EQ(Logs(), (Lines{"Cannot process line: A = Key Space", "Cannot process line: B = SwipeTrace (1,1,2,2)",
                             "Cannot parse input for line: Turbo = Tap", "Cannot process line: Turbo = Tap",
                             "Rule missing assignment operator: A Tap", "Cannot process line: A Tap",
                             "Keyweave::Config::Parser::ParseSwipeAction(Upward)", "Cannot parse direction: Upward",
                             "Cannot process line: Y = Swipe Upward"}));
    EXPECT_TRUE(config->mGamePadActions.empty());
    EXPECT_EQ(config->OwnedRecordCount(), 0u);
}

TEST_F(SectionTest, ModeRuleKeepsOneWord) {
    EXPECT_TRUE(Load("[opensensor]\nMode = Joystick\n"));
    EXPECT_EQ(config->mMode, "Joystick");
    EXPECT_TRUE(Load("[opensensor]\nMode = Joy stick\n"));
    EXPECT_EQ(Logs(), (Lines{"Cannot parse trailing junk: stick", "Cannot process line: Mode = Joy stick"}));
    EXPECT_EQ(config->mMode, "Joy") << "the word is stored before the junk is found";
    // Tilt and SwipeTap keep their whole text.
    EXPECT_TRUE(Load("[opensensor]\nTilt = Tilt  the phone\nSwipeTap =\tSwipe to tap\n"));
    EXPECT_EQ(config->mTilt, "Tilt  the phone");
    EXPECT_EQ(config->mSwipeTap, "Swipe to tap");
}

TEST_F(SectionTest, AreasMustLieOnTheScreen) {
    EXPECT_TRUE(Load("[opensensor]\nArea1 = (0,0,100,100)\nArea2 = (10,20,30,40) Left  zone\n"));
    EXPECT_TRUE(Logs().empty());
    const auto area = [](const auto& a) { return std::vector<float>{a.x, a.y, a.width, a.height}; };
    EXPECT_TRUE(config->mArea1.enabled);
    EXPECT_EQ(area(config->mArea1), (std::vector<float>{0, 0, 1, 1}));
    EXPECT_EQ(config->mArea1.label, "");
    EXPECT_TRUE(config->mArea2.enabled);
    EXPECT_EQ(area(config->mArea2), (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(config->mArea2.label, "Left  zone");

    EXPECT_TRUE(Load("[opensensor]\nArea1 = (99,99,1,1)\n"));
    EXPECT_FLOAT_EQ(config->mArea1.x, 0.99f);
}

TEST_F(SectionTest, BadAreasAreRefused) {
    const std::string huge(300, '9');
    EXPECT_TRUE(Load("[opensensor]\n"
                     "Area1 = (10,10,91,20) Zone\n"
                     "Area1 = (10,10,0,20)\n"
                     "Area1 = (10,10,20,0)\n"
                     "Area1 = (101,0,1,1)\n"
                     "Area1 = (50,0,2147483647,10)\n"
                     "Area1 = (0," + huge + ",1,1)\n"
                     "Area2 = (10,10,20)\n"
                     "Area2 = (10, 10,20,20)\n"));
    EXPECT_EQ(Logs(), (Lines{"Bad area definition: (10,10,91,20)", "Cannot process line: Area1 = (10,10,91,20) Zone",
                             "Bad area definition: (10,10,0,20)", "Cannot process line: Area1 = (10,10,0,20)",
                             "Bad area definition: (10,10,20,0)", "Cannot process line: Area1 = (10,10,20,0)",
                             "Bad area definition: (101,0,1,1)", "Cannot process line: Area1 = (101,0,1,1)",
                             "Bad area definition: (50,0,2147483647,10)",
                             "Cannot process line: Area1 = (50,0,2147483647,10)",
                             "Bad area definition: (0," + huge + ",1,1)",
                             "Cannot process line: Area1 = (0," + huge + ",1,1)", "Cannot parse area: (10,10,20)",
                             "Cannot process line: Area2 = (10,10,20)", "Cannot parse area: (10,",
                             "Cannot process line: Area2 = (10, 10,20,20)"}));
    EXPECT_FALSE(config->mArea1.enabled);
    EXPECT_FALSE(config->mArea2.enabled);
}

TEST_F(SectionTest, ButtonsBindControllerCodesToKeysAndLabels) {
    EXPECT_TRUE(Load("[opensensor]\nUp = Space Jump\nA = Enter Fire  now\nH = NoSuchKey\nDown = Down\n"));
    EXPECT_TRUE(Logs().empty());
    EXPECT_EQ(config->ControllerKey('u'), 57u);
    EXPECT_EQ(config->ControllerKey('A'), 28u);
    EXPECT_EQ(config->ControllerKey('H'), 0xFFFFFFFFu);
    EXPECT_EQ(config->ControllerKey('d'), 0xE050u);
    EXPECT_EQ(config->mControllerLabels, (std::map<uint32_t, std::string>{
                                            {'A', "Fire  now"}, {'H', ""}, {'d', ""}, {'u', "Jump"}}));
}

TEST_F(SectionTest, BadButtons) {
    EXPECT_TRUE(Load("[opensensor]\nI = Space\nup = Space\nB =\nC Space\n"));
    EXPECT_EQ(Logs(), (Lines{"Bad OpenSensor button I",
                             "Cannot process line: I = Space", "Bad OpenSensor button up",
                             "Cannot process line: up = Space", "Bad OpenSensor button rule: ",
                             "Cannot process line: B =", "Rule missing assignment operator: C Space",
                             "Cannot process line: C Space"}));
    EXPECT_TRUE(config->mControllerKeys.empty());
    EXPECT_TRUE(config->mControllerLabels.empty());
}

TEST_F(SectionTest, StringRulesKeepTheirValuesAsWritten) {
    EXPECT_TRUE(Load("[strings]\nJump = Saut  en l'air\nFire =\nJump = Saut\nRun\n"));
    EXPECT_EQ(Logs(), (Lines{"Rule missing assignment operator: Run", "Cannot process line: Run"}));
    EXPECT_EQ(config->mStrings, (std::map<std::string, std::string>{{"Fire", ""}, {"Jump", "Saut"}}));
}

}  // namespace
}  // namespace Keyweave::Testing
