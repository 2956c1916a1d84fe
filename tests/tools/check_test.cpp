// keyweave check, dump and pad run in-process on keymaps and databases of the
// tests' own: the exact report, and the exit status. The golden runs cover
// the example keymaps, tests/tools/data/faulty.cfg and the generic pad entry.

#include <string>

#include "tool_fixture.h"

namespace Keyweave::Testing {
namespace {

using CheckCommand = ToolTest;

TEST_F(CheckCommand, AFileThatCannotBeReadFailsAndTheOthersAreStillChecked) {
    const std::string missing = Path("missing.cfg");
    const std::string bad = Write("bad.cfg", "[keys]\nA = Tapp\n");
    const ToolRun run = RunTool({"check", missing, bad});
    EXPECT_EQ(run.out, missing + ": Cannot open configuration file " + missing + "\n" +
                           bad + ":2: Rule with invalid action: Tapp\n" +
                           bad + ":2: Cannot parse keys rule: A = Tapp\n"
                           "2 files checked: 1 line rejected, 1 file could not be read\n");
    EXPECT_EQ(run.status, 2);
}

// A UTF-16 file, with its hint, is the golden run check_utf16_directory.
TEST_F(CheckCommand, Utf8ByteOrderMarkAndLinesWithoutSection) {
    const std::string utf8 = Write("utf8.cfg", "\xEF\xBB\xBF[keys]\nA = Tap\n");
    EXPECT_EQ(RunTool({"check", utf8}).out, "1 file checked: no line rejected\n");
    const std::string early = Write("early.cfg", "A = Tap\n[keys]\n");
    EXPECT_EQ(RunTool({"check", early}).out, early + ":1: No section specifier for rule 'A = Tap'\n"
                                                     "1 file checked: 1 line rejected\n");
}

TEST_F(CheckCommand, TheLocaleDecidesWhichStringSectionIsRead) {
    // Strings of another locale are accepted and ignored; those of the
    // engine locale are read, so their bad rules count only with the locale.
    const std::string path = Write("strings.cfg", "[strings.fr-FR]\nJump Saut\n");
    EXPECT_EQ(RunTool({"check", path}).status, 0);
    const ToolRun run = RunTool({"check", path, "--locale", "FR-fr"});
    EXPECT_EQ(run.out, path + ":2: Rule missing assignment operator: Jump Saut\n"
                              "1 file checked: 1 line rejected\n");
    EXPECT_EQ(run.status, 1);
}

using DumpCommand = ToolTest;

TEST_F(DumpCommand, TheDumpAndTheSummaryWithThePackageOfTheFileName) {
    const std::string path = Write("com.example.game.cfg",
                                   "[keys]\n"
                                   "A,Ctrl = Tap (50,50)\n"
                                   "Space = Key Enter\n"
                                   "X = Bad\n"
                                   "[opensensor]\n"
                                   "A = Space Jump\n"
                                   "[strings]\n"
                                   "Jump = Saut\n");
    const ToolRun run = RunTool({"dump", path});
    EXPECT_EQ(run.out,
              "Config for package com.example.game\n"
              "Keys:\n"
              "    Ctrl,A\n"  // key names in code order, whatever the order written
              "        Tap (0.50,0.50)\n"
              "    Space\n"
              "        Key Enter\n"
              "Summary: Default|Package=com.example.game|A=Saut\n");
    EXPECT_EQ(run.err, path + ":4: Rule with invalid action: Bad\n" + path + ":4: Cannot parse keys rule: X = Bad\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(RunTool({"dump", path, "--package", "com.other"}).out.find("Summary: Default|Package=com.other|"),
              std::string::npos);
}

TEST_F(DumpCommand, AnUnreadableKeymapIsAFailure) {
    const ToolRun run = RunTool({"dump", Path("none.cfg")});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, Path("none.cfg") + ": Cannot open configuration file " + Path("none.cfg") + "\n");
    EXPECT_EQ(run.status, 2);
}

using PadCommand = ToolTest;

constexpr const char* kDatabase =
    "[Hardware]\n"
    "1a2b:3c4d = Pad One\n"
    "8380:0003 = Generic\n"
    "[Pad One]\n"
    "Layout = Standard\n"
    "A_X = LS_X\n"
    "A_Z = LT_RT\n"
    "AR_X = A\n"
    "H = H\n"
    "B_1 = A\n"
    "B_12 = H_U\n"
    "B_3 = LS_X\n"
    "[Generic]\n"
    "Layout = Basic\n"
    "A = H\n";

TEST_F(PadCommand, APadWithAnEntryOfItsOwn) {
    const std::string database = Write("pads.db", kDatabase);
    const ToolRun run = RunTool({"pad", database, "1A2B:3c4d"});
    EXPECT_EQ(run.out,
              "Preparing GamePad\n"
              "Found matching hardware 'Pad One'\n"
              "Adding axis transform 00000001 -> 00001000\n"
              "Adding axis transform 00000004 -> 000000c0\n"
              "Adding axis transform 00000010 -> 00000001\n"
              "Mapping hat to hat\n"
              "Adding button transform 00000001 -> 00000001\n"
              "Mapping buttons to hat\n"
              "Mapping button 00000800 to hat up\n"
              "Adding button transform 00000004 -> 00001000\n"
              "Pad 1a2b:3c4d: entry of its own, hardware 'Pad One'\n"
              "Layout: Standard\n"
              "Hat: the report's hat angle (H = H)\n"
              "     also named, not used: buttons: up B_12 down none left none right none\n"
              "Axis transforms:\n"
              "  A_X   -> LS_X\n"
              "  A_Z   -> LT_RT\n"
              "  AR_X  -> A  (no effect from an axis)\n"
              "Button transforms:\n"
              "  B_1   -> A\n"
              "  B_3   -> LS_X  (no effect from a button)\n");
    EXPECT_EQ(run.status, 0);
}

TEST_F(PadCommand, DatabaseFaultsAndBadIds) {
    const std::string broken = Write("broken.db", "[Hardware]\n1a2b:3c4d=Pad\n");
    const ToolRun run = RunTool({"pad", broken, "1a2b:3c4d"});
    EXPECT_NE(run.out.find("Rule missing assignment operator: 1a2b:3c4d=Pad\n"), std::string::npos);
    EXPECT_NE(run.out.find("no entry of its own and no generic entry 8380:0003: the pad is not attached\n"),
              std::string::npos);
    EXPECT_EQ(run.status, 1);

    const ToolRun missing = RunTool({"pad", Path("none.db"), "1a2b:3c4d"});
    EXPECT_EQ(missing.out, "Preparing GamePad\nCannot open database file " + Path("none.db") +
                               "\nCannot parse GamePad database\n");
    EXPECT_EQ(missing.status, 2);

    const ToolRun ids = RunTool({"pad", broken, "1a2b3c4d"});
    EXPECT_EQ(ids.err, "keyweave pad: Cannot read pad ids '1a2b3c4d': write VID:PID in hexadecimal, like 045e:028e\n");
    EXPECT_EQ(ids.status, 2);
}

TEST(CommandLine, HelpUnknownCommandsAndOptions) {
    const ToolRun overview = RunTool({"--help"});
    EXPECT_EQ(overview.status, 0);
    for (const char* command : {"check", "dump", "play", "render", "pad"}) {
        EXPECT_NE(overview.out.find(std::string("  ") + command + " "), std::string::npos) << command;
        const ToolRun help = RunTool({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(std::string("keyweave ") + command + ": ", 0), 0u) << help.out;
        EXPECT_NE(help.out.find(std::string("Usage: keyweave ") + command), std::string::npos);
    }
    EXPECT_EQ(RunTool({}).status, 2);
    const ToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.out, "keyweave " KEYWEAVE_TOOL_VERSION "\n");
    EXPECT_EQ(version.status, 0);
    const ToolRun unknown = RunTool({"lint", "a.cfg"});
    EXPECT_EQ(unknown.err, "keyweave: Cannot run unknown command 'lint' (see keyweave --help)\n");
    EXPECT_EQ(unknown.status, 2);
    const ToolRun option = RunTool({"check", "a.cfg", "--fast"});
    EXPECT_EQ(option.err, "keyweave check: Cannot use option --fast here (see keyweave check --help)\n");
    EXPECT_EQ(option.status, 2);
    const ToolRun value = RunTool({"check", "a.cfg", "--locale"});
    EXPECT_EQ(value.err, "keyweave check: Cannot use option --locale without a value (see keyweave check --help)\n");
    const ToolRun none = RunTool({"check"});
    EXPECT_EQ(none.err, "keyweave check: Cannot check without a keymap file (see keyweave check --help)\n");
    EXPECT_EQ(none.status, 2);
}

}  // namespace
}  // namespace Keyweave::Testing
