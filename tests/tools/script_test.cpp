// The play script reader: what each line becomes, and the message of each
// kind of bad line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyweave/script.h"

namespace Keyweave::Tool {
namespace {

using Kind = ScriptCommand::Kind;

std::vector<ScriptCommand> Parse(const std::string& text) {
    std::vector<ScriptCommand> commands;
    ScriptError error;
    EXPECT_TRUE(ParseScript(text, commands, error)) << "line " << error.line << ": " << error.message;
    return commands;
}

ScriptError ErrorOf(const std::string& text) {
    std::vector<ScriptCommand> commands;
    ScriptError error;
    EXPECT_FALSE(ParseScript(text, commands, error)) << text;
    return error;
}

TEST(ScriptReader, KeysTimesAndTheTextOfEachCommand) {
    const auto commands = Parse(
        "# a comment line\n"
        "\n"
        "press W        # walk\n"
        "wait 250\r\n"
        "release W\n"
        "at 1000\n"
        "tap 0x01\n"
        "press 57\n"
        "controller Up down\n"
        "controller H up\n");
    ASSERT_EQ(commands.size(), 8u);
    EXPECT_EQ(commands[0].kind, Kind::kPress);
    EXPECT_EQ(commands[0].code, 17u);  // W
    EXPECT_EQ(commands[0].line, 3u);
    EXPECT_EQ(commands[0].text, "press W");  // the comment is not part of it
    EXPECT_EQ(commands[1].kind, Kind::kWait);
    EXPECT_EQ(commands[1].millis, 250);
    EXPECT_EQ(commands[1].text, "wait 250");  // nor the carriage return
    EXPECT_EQ(commands[2].kind, Kind::kRelease);
    EXPECT_EQ(commands[3].kind, Kind::kAt);
    EXPECT_EQ(commands[3].millis, 1000);
    EXPECT_EQ(commands[4].kind, Kind::kTap);
    EXPECT_EQ(commands[4].code, 1u);  // Escape has no name: a scan code in hex
    EXPECT_EQ(commands[5].code, 57u);
    EXPECT_EQ(commands[6].kind, Kind::kController);
    EXPECT_EQ(commands[6].code, static_cast<uint32_t>('u'));
    EXPECT_TRUE(commands[6].on);
    EXPECT_EQ(commands[7].code, static_cast<uint32_t>('H'));
    EXPECT_FALSE(commands[7].on);
}

TEST(ScriptReader, PositionsAreReadInPercentAndKeptAsFractions) {
    const auto commands = Parse(
        "mouse 25 75.5\n"
        "scroll begin 50 40\n"
        "scroll move -10 2.5\n"
        "zoom scale 1.5\n"
        "emulate swipe 50 50 left\n"
        "emulate swipe-xy 10 20 30 40\n"
        "emulate pinch 50 50 in\n"
        "emulate swipe-knobs 30 120\n"
        "emulate pinch-knobs 20 10 5 60\n"
        "shake 1.5 -2 9.8\n");
    ASSERT_EQ(commands.size(), 10u);
    EXPECT_FLOAT_EQ(commands[0].values[0], 0.25f);
    EXPECT_FLOAT_EQ(commands[0].values[1], 0.755f);
    EXPECT_EQ(commands[1].kind, Kind::kScrollBegin);
    EXPECT_EQ(commands[2].kind, Kind::kScrollMove);
    EXPECT_FLOAT_EQ(commands[2].values[0], -0.1f);
    EXPECT_EQ(commands[3].kind, Kind::kZoomScale);
    EXPECT_FLOAT_EQ(commands[3].values[0], 1.5f);  // a factor, not a position
    EXPECT_EQ(commands[4].kind, Kind::kEmulateSwipe);
    EXPECT_EQ(commands[4].code, 3u);  // left
    EXPECT_EQ(commands[5].kind, Kind::kEmulateSwipeXY);
    EXPECT_FLOAT_EQ(commands[5].values[3], 0.4f);
    EXPECT_EQ(commands[6].kind, Kind::kEmulatePinch);
    EXPECT_TRUE(commands[6].on);
    EXPECT_EQ(commands[7].kind, Kind::kSwipeKnobs);
    EXPECT_FLOAT_EQ(commands[7].values[0], 0.3f);
    EXPECT_EQ(commands[7].millis, 120);
    EXPECT_EQ(commands[8].kind, Kind::kPinchKnobs);
    EXPECT_FLOAT_EQ(commands[8].values[2], 0.05f);
    EXPECT_EQ(commands[8].millis, 60);
    EXPECT_EQ(commands[9].kind, Kind::kShake);
    EXPECT_FLOAT_EQ(commands[9].values[2], 9.8f);  // raw values, not percent
}

TEST(ScriptReader, TypedTextIsQuotedWithEscapes) {
    const auto commands = Parse("type \"gg wp # not a comment\\n\"  # a comment\ntype \"\\\"\\\\\\t\\xff\"\n");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].argument, "gg wp # not a comment\n");
    EXPECT_EQ(commands[1].argument, std::string("\"\\\t\xff"));
}

TEST(ScriptReader, GamePadsReloadsAndSettings) {
    const auto commands = Parse(
        "pad attach 7 045E:028e \"pads folder/pads.db\"\n"
        "pad report 7 0 -1000 0 0 0 0 90 0x801\n"
        "pad detach 7\n"
        "reload\n"
        "reload other.cfg com.other\n"
        "locale fr-FR\n"
        "mapping off\n"
        "forward-raw on\n"
        "shooting-answer 0\n");
    ASSERT_EQ(commands.size(), 9u);
    EXPECT_EQ(commands[0].kind, Kind::kPadAttach);
    EXPECT_EQ(commands[0].number, 7);
    EXPECT_EQ(commands[0].code, 0x045Eu);
    EXPECT_EQ(commands[0].product, 0x028Eu);
    EXPECT_EQ(commands[0].argument, "pads folder/pads.db");
    EXPECT_EQ(commands[1].kind, Kind::kPadReport);
    EXPECT_EQ(commands[1].report.y, -1000);
    EXPECT_EQ(commands[1].report.hat, 90);
    EXPECT_EQ(commands[1].report.buttons, 0x801);
    EXPECT_EQ(commands[2].kind, Kind::kPadDetach);
    EXPECT_FALSE(commands[3].HasArgument());
    EXPECT_EQ(commands[4].argument, "other.cfg");
    EXPECT_EQ(commands[4].package, "com.other");
    EXPECT_EQ(commands[5].argument, "fr-FR");
    EXPECT_FALSE(commands[6].on);
    EXPECT_TRUE(commands[7].on);
    EXPECT_EQ(commands[8].number, 0);
}

struct BadLine {
    const char* script;
    uint32_t line;
    const char* message;
};

TEST(ScriptReader, BadLinesAreNamedWithTheirNumberAndWhy) {
    const BadLine cases[] = {
        {"press W\npresss W\n", 2, "Cannot use unknown command 'presss'"},
        {"press Spcae\n", 1,
         "Cannot find key 'Spcae' (key names are case-sensitive, as in keymaps: Space, F1, LeftClick; or give a "
         "scan code)"},
        {"press\n", 1, "Cannot read this command: write press KEY"},
        {"release A B\n", 1, "Cannot read this command: write release KEY"},
        {"wait soon\n", 1, "Cannot read 'soon' as a whole number"},
        {"wait -5\n", 1, "Cannot use -5 ms: times go from 0 to 3600000"},
        {"at 3600001\n", 1, "Cannot use 3600001 ms: times go from 0 to 3600000"},
        {"wait 1.5\n", 1, "Cannot read '1.5' as a whole number"},
        {"mouse 50 fifty\n", 1, "Cannot read 'fifty' as a number"},
        {"mouse 50\n", 1, "Cannot read this command: write mouse X Y"},
        {"type hello\n", 1, "Cannot read this command: write type \"TEXT\""},
        {"type \"hello\n", 1, "Cannot find the closing quote"},
        {"type \"a\\q\"\n", 1, "Cannot read the escape \\q (use \\n \\t \\\\ \\\" or \\xHH)"},
        {"type \"a\\x4\"\n", 1, "Cannot read the escape \\x without two hexadecimal digits"},
        {"type \"a\"b\n", 1, "Cannot read text after a closing quote without a blank"},
        {"controller Z down\n", 1, "Cannot find controller button 'Z'"},
        {"controller A pressed\n", 1,
         "Cannot read this command: write controller A|B|C|D|E|F|G|H|Up|Down|Left|Right down|up"},
        {"button middle down\n", 1, "Cannot read this command: write button left|right down|up"},
        {"scroll sideways\n", 1, "Cannot read this command: write scroll begin X Y | scroll move DX DY | scroll end"},
        {"zoom end now\n", 1, "Cannot read this command: write zoom begin X Y | zoom scale FACTOR | zoom end"},
        {"emulate swipe 50 50 north\n", 1, "Cannot read this command: write emulate swipe X Y up|down|left|right"},
        {"pad attach 1 45e-28e pads.db\n", 1,
         "Cannot read pad ids '45e-28e': write VID:PID in hexadecimal, like 045e:028e"},
        {"pad report 1 0 0 0\n", 1, "Cannot read this command: write pad report ID X Y Z RX RY RZ HAT BUTTONS"},
        {"mapping maybe\n", 1, "Cannot read this command: write mapping on|off"},
        {"reload a b c\n", 1, "Cannot read this command: write reload [KEYMAP [PACKAGE]]"},
        {"\"press\" W\n", 1, "Cannot use unknown command 'press'"},
        // Found before anything plays: the order of the lines.
        {"at 100\nwait 20\nat 110\n", 3, "Cannot go back to 110 ms: the lines before wait until 120 ms"},
        {"pad attach 1 045e:028e pads.db\npad report 2 0 0 0 0 0 0 -1 0\n", 2,
         "Cannot report to pad 2: no line before attaches it"},
        {"pad attach 1 045e:028e pads.db\npad detach 1\npad detach 1\n", 3,
         "Cannot detach pad 1: no line before attaches it"},
    };
    for (const BadLine& bad : cases) {
        const ScriptError error = ErrorOf(bad.script);
        EXPECT_EQ(error.line, bad.line) << bad.script;
        EXPECT_EQ(error.message, bad.message) << bad.script;
    }
}

TEST(ScriptReader, EmptyScriptsAndLastLinesWithoutLineFeed) {
    EXPECT_TRUE(Parse("").empty());
    EXPECT_TRUE(Parse("\n\n# nothing\n").empty());
    const auto commands = Parse("\xEF\xBB\xBFwait 5\ntap A");
    ASSERT_EQ(commands.size(), 2u);  // a UTF-8 mark at the start is skipped
    EXPECT_EQ(commands[1].line, 2u);
    EXPECT_EQ(ErrorOf("wait 5\n\ntap\n").line, 3u);
}

}  // namespace
}  // namespace Keyweave::Tool
