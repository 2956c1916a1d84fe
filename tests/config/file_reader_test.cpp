// Reading keymap files: opening, lines and their limits, byte-order marks,
// and the header directives.
#include <gtest/gtest.h>

#include <string>

#include "config/parser.h"
#include "keymap_fixture.h"

namespace Keyweave::Testing {
namespace {

using namespace std::string_literals;

std::string Utf16LittleEndian(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

std::vector<int32_t> Clip(const Config& config) {
    const ClipRectangle& clip = config.GetClipRectangle();
    return {clip.values, clip.values + 4};
}

using FileReaderTest = KeymapTest;

TEST_F(FileReaderTest, AnEmptyFileLoadsAsAnEmptyConfiguration) {
    EXPECT_TRUE(Load(""));
    EXPECT_TRUE(Logs().empty());
    EXPECT_TRUE(config->mKeyRules.empty());
    EXPECT_EQ(config->mMode, "Default");
    EXPECT_EQ(config->OwnedRecordCount(), 0u);
}

TEST_F(FileReaderTest, AFileThatCannotBeOpenedFailsTheLoad) {
    const WideString missing = Write("") + ToWide(".missing");
    Config::Parser parser(*config, Context());
    EXPECT_FALSE(parser.Load(missing.c_str()));
    EXPECT_EQ(Logs(), Lines{"Cannot open configuration file " + ToUtf8(missing)});

    host.ClearRecords();
    EXPECT_FALSE(parser.Load(nullptr));
    EXPECT_EQ(Logs(), Lines{"Cannot open configuration file "});
}

TEST_F(FileReaderTest, LinesEndInLineFeedsWithOptionalCarriageReturnsAndBlanks) {
    EXPECT_TRUE(Load("  [keys]  \r\n\tA = Tap (10,20)\t\r\n\r\n\nS = Tap (30,40)"));  // last line without a line feed
    EXPECT_EQ(Logs(), (Lines{"Keyweave::Config::Parser::ParseTapAction((10,20))",
                             "Keyweave::Config::Parser::ParseTapAction((30,40))"}));
    ASSERT_NE(Only<TapAction>({kA}, kTapAction), nullptr);
    ASSERT_NE(Only<TapAction>({kS}, kTapAction), nullptr);
    EXPECT_EQ(Only<TapAction>({kS}, kTapAction)->point, (Point{0.3f, 0.4f}));
}

TEST_F(FileReaderTest, AUtf8ByteOrderMarkIsIgnored) {
    EXPECT_TRUE(Load("\xEF\xBB\xBF[keys]\nA = Tap (50,50)\n"));
    EXPECT_EQ(Logs(), (Lines{"Ignoring UTF-8 BOM", "Keyweave::Config::Parser::ParseTapAction((50,50))"}));
    EXPECT_NE(Only<TapAction>({kA}, kTapAction), nullptr);

    // The text after the mark is not trimmed again: the line is no header.
    EXPECT_TRUE(Load("\xEF\xBB\xBF [keys]\n"));
    EXPECT_EQ(Logs(), (Lines{"Ignoring UTF-8 BOM", "No section specifier for rule ' [keys]'",
                             "Cannot process line: \xEF\xBB\xBF [keys]"}));
}

TEST_F(FileReaderTest, Utf16FilesFailOnTheirFirstLineAndTheReaderGoesOn) {
    EXPECT_TRUE(Load(Utf16LittleEndian("[keys]\r\nA = Tap (50,50)\r\n")));
    EXPECT_EQ(Logs(), (Lines{"Found unexpected UTF-16 BOM", "Cannot process line: \xFF\xFE["}));
    EXPECT_TRUE(config->mKeyRules.empty());

    EXPECT_TRUE(Load("\xFE\xFF\0[\0]\n[keys]\nA = Tap\n"s));
    EXPECT_EQ(Logs(), (Lines{"Found unexpected UTF-16 BOM", "Cannot process line: \xFE\xFF",
                             "Keyweave::Config::Parser::ParseTapAction()"}));
}

TEST_F(FileReaderTest, ALineMayHoldUpTo8263Characters) {
    const std::string longest = "# " + std::string(8261, 'x');
    ASSERT_EQ(longest.size(), 8263u);
    EXPECT_TRUE(Load(longest + "\n[keys]\n" + longest + "\nA = Tap\n" + longest));
    EXPECT_NE(Only<TapAction>({kA}, kTapAction), nullptr);

    // The carriage return counts as a character of the line.
    EXPECT_TRUE(Load(longest.substr(1) + "\r\n"));
    EXPECT_FALSE(Load(longest + "\r\n"));
}

TEST_F(FileReaderTest, ALongerLineEndsTheLoadWithAFailure) {
    const std::string tooLong = "# " + std::string(8262, 'x');
    EXPECT_FALSE(Load("[keys]\nA = Tap\n" + tooLong + "\nS = Tap\n"));
    EXPECT_EQ(Logs(), (Lines{"Keyweave::Config::Parser::ParseTapAction()", "Cannot read line from configuration file"}));
    EXPECT_NE(Only<TapAction>({kA}, kTapAction), nullptr) << "earlier lines stay";
    EXPECT_TRUE(config->GetActions({kS}).empty()) << "later lines are not read";

    EXPECT_FALSE(Load(tooLong));  // at the end of the file too
    EXPECT_FALSE(Load(std::string(1 << 20, 'A')));
    EXPECT_EQ(Logs(), Lines{"Cannot read line from configuration file"});
}

TEST_F(FileReaderTest, ALineEndsAtANulByte) {
    EXPECT_TRUE(Load("[keys]\nA = Tap (10,20)\0 = junk\n\0S = Tap\nS = Tap (30,40)\0"s));
    EXPECT_EQ(Logs(), (Lines{"Keyweave::Config::Parser::ParseTapAction((10,20))",
                             "Keyweave::Config::Parser::ParseTapAction((30,40))"}));
    ASSERT_NE(Only<TapAction>({kA}, kTapAction), nullptr);
    EXPECT_EQ(Only<TapAction>({kA}, kTapAction)->point, (Point{0.1f, 0.2f}));
    EXPECT_NE(Only<TapAction>({kS}, kTapAction), nullptr);
}

TEST_F(FileReaderTest, FlagDirectivesSetTheirFieldsAndSayWhich) {
    EXPECT_TRUE(Load("# ALWAYS_SEND_UNMAPPED_KEY\n"
                     "# ENABLE_SINGLE_TOUCH_SHOOTING_MODE\n"
                     "# ENABLE_SPACE_SHOOTER_MODE\n"
                     "# ENABLE_DYNAMIC_DPAD\n"
                     "# ENABLE_DYNAMIC_ZOOM\n"
                     "# ENABLE_LOCATION_UPDATION_WITH_KEYMAP\n"
                     "# SHOOTING_MODE_4\n"
                     "# just a comment\n"
                     "#ENABLE_DYNAMIC_ZOOM\n"));
    EXPECT_EQ(Logs(), (Lines{"mAlwaysSendUnmappedKey -> true", "mEnableSingleTouchShootingMode -> true",
                             "mEnableSpaceShooterMode -> true", "mEnableDynamicDpad -> true",
                             "mEnableDynamicZoom -> true", "mEnableLocationUpdationWithKeyMap -> true",
                             "mShootingModeType -> 4"}));
    EXPECT_TRUE(config->AlwaysSendUnmappedKey());
    EXPECT_EQ(config->EnableSingleTouchShootingMode(), 1u);
    EXPECT_EQ(config->EnableSpaceShooterMode(), 1u);
    EXPECT_EQ(config->EnableDynamicDpad(), 1u);
    EXPECT_EQ(config->EnableDynamicZoom(), 1u);
    EXPECT_EQ(config->EnableLocationUpdationWithKeyMap(), 1u);
    EXPECT_EQ(config->ShootingModeType(), ShootingMode::kRecentreAtEdge);
    EXPECT_EQ(config->EnableShootingMode(), 0u);

    // Exact directives allow only trailing blanks.
    EXPECT_TRUE(Load("# SHOOTING_MODE_2  \t\n# SHOOTING_MODE_3x\n# SHOOTING_MODE_1 # note\n"));
    EXPECT_EQ(Logs(), Lines{"mShootingModeType -> 2"});
    EXPECT_EQ(config->ShootingModeType(), ShootingMode::kFireFingerAims);

    // The mode directive matches as a prefix and does nothing.
    EXPECT_TRUE(Load("# MODE = Gamepad\n# MODEL of the controller\n# MODE\n"));
    EXPECT_EQ(Logs(), Lines(3, "Parsing controller mode..."));
    EXPECT_EQ(config->mMode, "Default");
}

TEST_F(FileReaderTest, ShootingModeDirectiveEnablesTheModeAndClearsItsState) {
    config->SetShootingModeActive(1);
    Config::Parser parser(*config, Context());
    EXPECT_TRUE(parser.ProcessLine("# ENABLE_SHOOTING_MODE"));
    EXPECT_EQ(Logs(), Lines{"mEnableShootingMode -> true"});
    EXPECT_EQ(config->EnableShootingMode(), 1u);
    EXPECT_EQ(config->ShootingModeActive(), 0u);
}

TEST_F(FileReaderTest, ClipRectangleReadsItsTupleRightAfterTheDirective) {
    EXPECT_TRUE(Load("# CLIP_RECTANGLE(1,2,3,4)\n# CLIP_RECTANGLE\n"));  // nothing after it: unchanged
    EXPECT_EQ(Clip(*config), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_TRUE(Logs().empty());

    // Unread values are the defaults, not the earlier ones.
    EXPECT_TRUE(Load("# CLIP_RECTANGLE(1,2,3,4)\n# CLIP_RECTANGLE(5,6)\n"));
    EXPECT_EQ(Clip(*config), (std::vector<int32_t>{5, 6, 40, 80}));

    EXPECT_TRUE(Load("# CLIP_RECTANGLE(1,2,3,4)\n# CLIP_RECTANGLE (1,2,3,4)\n"));  // the blank does not match "("
    EXPECT_EQ(Clip(*config), (std::vector<int32_t>{55, 10, 40, 80}));

    EXPECT_TRUE(Load("# CLIP_RECTANGLE(-7, +8,9x,10)\n"));
    EXPECT_EQ(Clip(*config), (std::vector<int32_t>{-7, 8, 9, 80}));
    EXPECT_TRUE(Logs().empty());
}

TEST_F(FileReaderTest, SwipePinchSetsTheEmulationKnobs) {
    EXPECT_TRUE(Load("# SWIPE_PINCH(0.3,200,0.25,0.15,0.12,70)\n"));
    EXPECT_EQ(knobs, (EmulationKnobs{0.3f, 200, 0.25f, 0.15f, 0.12f, 70}));
    EXPECT_TRUE(Logs().empty());

    EXPECT_TRUE(Load("# SWIPE_PINCH\n"));
    EXPECT_EQ(knobs, (EmulationKnobs{0.3f, 200, 0.25f, 0.15f, 0.12f, 70}));

    EXPECT_TRUE(Load("# SWIPE_PINCH(0.5,150)\n"));
    EXPECT_EQ(knobs, (EmulationKnobs{0.5f, 150, 0.2f, 0.1f, 0.1f, 50}));

    EXPECT_TRUE(Load("# SWIPE_PINCH (0.5,150)\n"));
    EXPECT_EQ(knobs, EmulationKnobs{});

    // A file checked without knobs to set reads the directive all the same.
    Config other;
    ParseContext context{log, "", nullptr, nullptr};
    EXPECT_TRUE(Config::Parser(other, context).ProcessLine("# SWIPE_PINCH(0.9,1,1,1,1,1)"));
}

TEST_F(FileReaderTest, ScreenCentreIsAPointWithAnOptionalRadius) {
    EXPECT_TRUE(Load("# SCREEN_CENTER_CUSTOM (40,60,10)\n"));
    ASSERT_NE(config->ScreenCenter(), nullptr);
    EXPECT_EQ(config->ScreenCenter()->point, (Point{0.4f, 0.6f}));
    EXPECT_FLOAT_EQ(config->ScreenCenter()->radius, 10.0f);
    EXPECT_TRUE(Logs().empty());

    // A later centre replaces the first; one that fails leaves it.
    EXPECT_TRUE(Load("# SCREEN_CENTER_CUSTOM (40,60,10)\n# SCREEN_CENTER_CUSTOM(30,20)\n"
                     "# SCREEN_CENTER_CUSTOM(50,50,60)\n# SCREEN_CENTER_CUSTOM 50,50\n"));
    EXPECT_EQ(Logs(), (Lines{"Cannot parse point: (50,50,60)", "Cannot process line: # SCREEN_CENTER_CUSTOM(50,50,60)",
                             "Cannot parse point: 50,50", "Cannot process line: # SCREEN_CENTER_CUSTOM 50,50"}));
    ASSERT_NE(config->ScreenCenter(), nullptr);
    EXPECT_EQ(config->ScreenCenter()->point, (Point{0.3f, 0.2f}));
    EXPECT_FLOAT_EQ(config->ScreenCenter()->radius, 6.0f);
}

TEST_F(FileReaderTest, ShootingModeTurnsTheMouseTapsIntoTheRightClickAction) {
    EXPECT_TRUE(Load("# ENABLE_SHOOTING_MODE\n"
                     "[keys]\n"
                     "MouseMove = Tap (50,40)\n"
                     "LeftClick = Tap (80,70)\n"
                     "RightClick = Tap (90,90)\n"
                     "# SHOOTING_MODE_3\n"));  // read before the completion, which runs last
    // Its points and sensitivity are the shooter example's golden run.
    const auto* mode = Only<ShootModeAction>({258}, kShootModeAction);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->modeType, ShootingMode::kSlowedAim);

    // Without the directive the mouse rules stay as written.
    EXPECT_TRUE(Load("[keys]\nMouseMove = Tap (50,40)\nRightClick = Tap (90,90)\n"));
    ASSERT_NE(Only<TapAction>({258}, kTapAction), nullptr);
    EXPECT_EQ(Only<TapAction>({258}, kTapAction)->point, (Point{0.9f, 0.9f}));
}

}  // namespace
}  // namespace Keyweave::Testing
