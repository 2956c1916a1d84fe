// keyweave play in-process: reloads, going back in time and game pads against
// small keymaps. The trail picture is read back in render_test.cpp; the echo
// of each line, the text and JSON of the timeline, blocking calls and a bad
// script are the golden runs'.

#include <string>
#include <vector>

#include "tool_fixture.h"

namespace Keyweave::Testing {
namespace {

class PlayCommand : public ToolTest {
protected:
    ToolRun Play(const std::string& keymap, const std::string& script, std::vector<std::string> extra = {}) {
        std::vector<std::string> words = {"play", Write("game.cfg", keymap), Write("game.play", script)};
        words.insert(words.end(), extra.begin(), extra.end());
        return RunTool(words);
    }
    // The timeline without the load's lines (everything before the first
    // script line).
    static std::string AfterLoad(const std::string& out) {
        const size_t first = out.find("  > ");
        return first == std::string::npos ? out : out.substr(out.rfind('\n', first) + 1);
    }
};

TEST_F(PlayCommand, GoingBackInTimeStopsThePlayWhereItIs) {
    const ToolRun run = Play("[keys]\nA = Tap\n", "wait 100\ntype \"ab\"\nat 110\n");
    EXPECT_EQ(run.err, Path("game.play") + ":3: Cannot go back to 110 ms: the script is at 120 ms already\n");
    EXPECT_EQ(run.status, 2);
    // What played until then is printed: typing takes 10 ms a character.
    EXPECT_NE(run.out.find("   110  key      0x30 B down\n   110  key      0xB0 B up\n   120  > at 110\n"),
              std::string::npos)
        << run.out;
}

TEST_F(PlayCommand, ReloadsLoadOtherKeymapsWithTheirPackage) {
    Write("com.other.cfg", "[keys]\nA = Tap (10,10)\n");
    const ToolRun run = Play("[keys]\nA = Tap (90,90)\n", "tap A\nreload " + Path("com.other.cfg") + "\ntap A\n");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string timeline = AfterLoad(run.out);
    EXPECT_NE(timeline.find("     0  log      Loading config at " + Path("com.other.cfg") + "\n"), std::string::npos);
    EXPECT_NE(timeline.find("     0  summary  Default|Package=com.other\n     0  > tap A\n"
                            "     0  touch    slot  0 down    10.00  10.00\n"),
              std::string::npos)
        << timeline;
}

TEST_F(PlayCommand, GamePadsAttachReportAndTickEveryFourMilliseconds) {
    const std::string database = Write("pads.db",
                                       "[Hardware]\n1a2b:3c4d = Test Pad\n"
                                       "[Test Pad]\nLayout = Standard\nA_X = LS_X\nA_Y = LS_Y\nB_1 = A\nB_2 = B\n");
    const ToolRun run = Play("[gamepad]\nA = Space\n"
                             "[gamepad2]\nLeftStick = SwipeHold (20,70,10,50)\nB = Tap (80,80)\n"
                             "[keys]\nSpace = Tap (50,50)\n",
                             "pad attach 3 1a2b:3c4d " + database + "\n"
                             "pad report 3 0 0 0 0 0 0 -1 1\n"      // A: the key Space
                             "wait 10\n"
                             "pad report 3 0 0 0 0 0 0 -1 0\n"
                             "pad report 3 1000 0 0 0 0 0 -1 0\n"   // the left stick full right
                             "wait 12\n"
                             "pad report 3 0 0 0 0 0 0 -1 2\n"      // stick back; B: a tap of its own
                             "wait 9\n"
                             "pad detach 3\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(AfterLoad(run.out),
              "     0  > pad attach 3 1a2b:3c4d " + database + "\n"
              "     0  log      Attaching GamePad ID 3, vendor 1a2b, product 3c4d\n"
              "     0  log      Preparing GamePad\n"
              "     0  log      Found matching hardware 'Test Pad'\n"
              "     0  log      Keyweave::GamePad::KeyweaveGamePadStickTick (identity:3)\n"
              "     0  notice   pad 3 attached, layout \"Standard\"\n"
              "     0  > pad report 3 0 0 0 0 0 0 -1 1\n"
              "     0  touch    slot  0 down    50.00  50.00\n"
              "     0  > wait 10\n"
              "    10  > pad report 3 0 0 0 0 0 0 -1 0\n"
              "    10  touch    slot  0 up      50.00  50.00\n"
              "    10  > pad report 3 1000 0 0 0 0 0 -1 0\n"
              "    10  > wait 12\n"
              // Ticks come every 4 ms from the start: the one at 12 makes the
              // joystick active, each later one moves its finger by the
              // deflection times the sensitivity (1000 x 0.05 hundredths of a
              // percent), the first after the stick is back lifts it.
              "    16  touch    slot  0 down    20.50  70.00\n"
              "    20  touch    slot  0 move    21.00  70.00\n"
              "    22  > pad report 3 0 0 0 0 0 0 -1 2\n"
              "    22  touch    slot  1 down    80.00  80.00\n"
              "    22  > wait 9\n"
              "    24  touch    slot  0 up      21.00  70.00\n"
              "    31  > pad detach 3\n"
              "    31  log      Device is detach!  Id:3 stop thread\n"
              "    31  log      Detaching GamePad ID 3\n"
              "    31  notice   pad 3 detached, layout \"Standard\"\n");
}

TEST_F(PlayCommand, KeymapsThatCannotBeReadAndMissingScripts) {
    const ToolRun keymap = RunTool({"play", Path("none.cfg"), Write("a.play", "tap A\n")});
    EXPECT_EQ(keymap.err, Path("none.cfg") + ": Cannot open configuration file " + Path("none.cfg") + "\n");
    EXPECT_EQ(keymap.status, 2);
    const ToolRun script = RunTool({"play", Write("a.cfg", "[keys]\n"), Path("none.play")});
    EXPECT_EQ(script.err, Path("none.play") + ": Cannot read script file\n");
    EXPECT_EQ(script.status, 2);
}

}  // namespace
}  // namespace Keyweave::Testing
