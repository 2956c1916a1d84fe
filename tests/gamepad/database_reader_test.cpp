// The game-pad database reader on real files: which hardware a device is, what
// its mapping section stores in it, and the exact lines every bad input logs.
// A common pad's layout, hat and transforms are the golden run of keyweave pad.
#include "gamepad/database_reader.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace Keyweave::GamePad {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;
using Transforms = std::map<uint32_t, uint32_t>;

// The lines a failed read always ends with, around what the failure logs.
Lines Failure(const Lines& middle) {
    Lines lines{"Preparing GamePad"};
    lines.insert(lines.end(), middle.begin(), middle.end());
    lines.push_back("Cannot parse GamePad database");
    return lines;
}

class DatabaseReaderTest : public ::testing::Test {
protected:
    bool PrepareFile(const WideString& path, bool verbose = false) {
        host.Attach(log, verbose);
        device.databasePath = path;
        return Prepare(device, log);
    }
    bool PrepareText(std::string_view content, bool verbose = false) {
        return PrepareFile(files.Write("gamepads.db", content), verbose);
    }
    // A database that names the device "Pad" and maps it with `rules`.
    bool PrepareRules(const std::string& rules) {
        return PrepareText("[Hardware]\n1a2b:3c4d = Pad\n[Pad]\n" + rules);
    }

    Testing::ScratchDir files;
    Testing::RecordingHost host;
    Log log;
    Device device{7, 0x1a2b, 0x3c4d, {}};
};

TEST_F(DatabaseReaderTest, DetailLinesOnlyWithTheVerboseFlag) {
    const std::string rules =
        "[Hardware]\n1a2b:3c4d = Pad\n[Pad]\n"
        "H = H\nA = H\nA_Z = LT\nB_5 = H_L\nB_6 = H_U\nB_7 = H_D\nB_8 = H_R\nB_12 = Start\n";
    ASSERT_TRUE(PrepareText(rules, false));
    EXPECT_EQ(host.Logs(), (Lines{"Preparing GamePad", "Found matching hardware 'Pad'"}));
    const Device quiet = device;

    host.ClearRecords();
    device = Device{7, 0x1a2b, 0x3c4d, {}};
    ASSERT_TRUE(PrepareText(rules, true));
    EXPECT_EQ(host.Logs(), (Lines{"Preparing GamePad", "Found matching hardware 'Pad'", "Mapping hat to hat",
                                  "Mapping primary axis to hat", "Adding axis transform 00000004 -> 00000040",
                                  "Mapping buttons to hat", "Mapping button 00000010 to hat left",
                                  "Mapping button 00000020 to hat up", "Mapping button 00000040 to hat down",
                                  "Mapping button 00000080 to hat right",
                                  "Adding button transform 00000800 -> 00000800"}));
    // The flag changes the log only.
    EXPECT_TRUE(device.hatFromReportHat && device.hatFromPrimaryAxes && device.hatFromButtons);
    EXPECT_EQ(device.hatButtonMasks, (std::array<uint32_t, 4>{0x20, 0x40, 0x10, 0x80}));  // up, down, left, right
    EXPECT_EQ(device.axisTransforms, quiet.axisTransforms);
    EXPECT_EQ(device.buttonTransforms, quiet.buttonTransforms);
    EXPECT_EQ(device.hatButtonMasks, quiet.hatButtonMasks);
}

TEST_F(DatabaseReaderTest, HardwareIsMatchedByLowerCaseIdsOnly) {
    EXPECT_FALSE(PrepareText("[Hardware]\n1A2B:3C4D = Pad One\n[Pad One]\nLayout = Standard\n"));
    EXPECT_EQ(host.Logs(), Failure({}));
    EXPECT_TRUE(device.layoutName.empty());

    // Short ids are padded to four digits; a later match replaces the name.
    host.ClearRecords();
    device = Device{3, 0x45e, 0x2, {}};
    EXPECT_TRUE(PrepareText("[Hardware]\n045e:0002 = First\n45e:2 = Unpadded\n045e:0002 =  Second  Name\n"
                            "[First]\nLayout = Wrong\n[Second  Name]\nLayout = Right\n"));
    EXPECT_EQ(host.Logs(), (Lines{"Preparing GamePad", "Found matching hardware 'First'",
                                  "Found matching hardware 'Second  Name'"}));
    EXPECT_EQ(device.layoutName, "Right");
}

TEST_F(DatabaseReaderTest, PlatformSectionsWin32IsReadOthersSkippedUnchecked) {
    EXPECT_TRUE(PrepareText("[Hardware.Linux]\n1a2b:3c4d = Linux Pad\nnot a rule at all\nB_x = ?\n"
                            "[Hardware.MacOS]\n1a2b:3c4d=Mac Pad\n"
                            "[ Hardware.Win32 ]\n1a2b:3c4d = Windows Pad\n"
                            "[Windows Pad]\nLayout = Win\n"));
    EXPECT_EQ(host.Logs(), (Lines{"Preparing GamePad", "Found matching hardware 'Windows Pad'"}));
    EXPECT_EQ(device.layoutName, "Win");
}

TEST_F(DatabaseReaderTest, MappingCountsOnlyAfterItsHardwareWasFound) {
    // A nameless section is nobody's mapping, even before any hardware matched.
    EXPECT_TRUE(PrepareText("[ ]\nLayout = Nameless\n[Pad]\nA_X = LS_X\nB_1 = A\nLayout = Early\n"
                            "[Hardware]\n1a2b:3c4d = Pad\n"
                            "[Other Pad]\nA_X = Nonsense\nwhatever this is\n"
                            "[]\nLayout = Nameless\n"));
    EXPECT_EQ(host.Logs(), (Lines{"Preparing GamePad", "Found matching hardware 'Pad'"}));
    EXPECT_TRUE(device.layoutName.empty());
    EXPECT_TRUE(device.axisTransforms.empty());
    EXPECT_TRUE(device.buttonTransforms.empty());
}

TEST_F(DatabaseReaderTest, LaterRulesReplaceEarlierOnesAndBlanksSeparate) {
    EXPECT_TRUE(PrepareRules("A_X = LS_X\nA_X\t=\tRS_Y\n"
                             "B_1 = A\n  B_1   =   LT_RT   \n"
                             "B_2 = H_U\nB_3 = H_U\n"
                             "Layout = Two  Words\there\n"));
    EXPECT_EQ(device.axisTransforms, (Transforms{{0x1, 0x8000}}));
    EXPECT_EQ(device.buttonTransforms, (Transforms{{0x1, 0xC0}}));
    EXPECT_EQ(device.hatButtonMasks, (std::array<uint32_t, 4>{0x4, 0, 0, 0}));
    EXPECT_EQ(device.layoutName, "Two  Words\there");
}

TEST_F(DatabaseReaderTest, ButtonNumbersWrapModulo32) {
    const std::string huge = "1" + std::string(237, '0') + "17";  // 10^239 + 17, 240 digits
    EXPECT_TRUE(PrepareRules("B_0 = A\nB_33 = B\nB_3x = X\nB_4294967298 = Y\nB_4294967300 = LB\n"
                             "B_" + huge + " = RB\nB_00031 = LT\n"));
    EXPECT_EQ(device.buttonTransforms, (Transforms{
                                           {0x00000001, 0x02},  // B_33, like B_1
                                           {0x00000002, 0x08},  // 2^32 + 2 is B_2
                                           {0x00000004, 0x04},  // B_3x is B_3
                                           {0x00000008, 0x10},  // 2^32 + 4 is B_4
                                           {0x00010000, 0x20},  // 10^239 + 17 is B_17
                                           {0x40000000, 0x40},  // B_31
                                           {0x80000000, 0x01},  // B_0, like B_32
                                       }));
}

// Every bad rule stops the read at its line: the rule's own message, then the
// line as it was read, then the failure of Prepare. The line after it is never
// looked at.
TEST_F(DatabaseReaderTest, BadMappingRulesFailTheRead) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"A_X = Foo", "Cannot parse axis rule 'A_X = Foo'"},
        {"A_X = ls_x", "Cannot parse axis rule 'A_X = ls_x'"},
        {"A_W = LS_X", "Cannot parse axis rule 'A_W = LS_X'"},
        {"A = LS_X", "Cannot parse axis rule 'A = LS_X'"},
        {"A_X = H", "Cannot parse axis rule 'A_X = H'"},
        {"H = A", "Cannot parse hat rule 'H = A'"},
        {"Hat = H", "Cannot parse hat rule 'Hat = H'"},
        {"B_x = A", "Cannot parse button rule 'B_x = A'"},
        {"B1 = A", "Cannot parse button rule 'B1 = A'"},
        {"B_ = A", "Cannot parse button rule 'B_ = A'"},
        {"B_-1 = A", "Cannot parse button rule 'B_-1 = A'"},
        {"B_1 = Hat_Up", "Cannot parse button rule 'B_1 = Hat_Up'"},
        {"layout = Standard", "Unknown rule source: layout = Standard"},
        {"X_1 = A", "Unknown rule source: X_1 = A"},
        {"A_X LS_X", "Rule missing assignment operator: A_X LS_X"},
        {"A_X=LS_X", "Rule missing assignment operator: A_X=LS_X"},
        {"A_X =LS_X", "Rule missing assignment operator: A_X =LS_X"},
        {"A_X", "Rule missing assignment operator: A_X"},
        {"A_X =   # no target", "Rule missing target: A_X ="},
        {"  \tB_1 = Foo  # comment", "Cannot parse button rule 'B_1 = Foo'"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.line);
        host.ClearRecords();
        device = Device{7, 0x1a2b, 0x3c4d, {}};
        EXPECT_FALSE(PrepareRules(std::string(test.line) + "\nQ = never looked at\n"));
        EXPECT_EQ(host.Logs(), Failure({"Found matching hardware 'Pad'", test.message,
                                        std::string("Cannot process line: ") + test.line}));
    }
}

TEST_F(DatabaseReaderTest, BadHardwareRulesAndSectionsFailTheRead) {
    struct Case {
        std::string text;
        Lines middle;
    };
    const Case cases[] = {
        {"[Hardware]\n1a2b:3c4d=Pad One\n",
         {"Rule missing assignment operator: 1a2b:3c4d=Pad One", "Cannot process line: 1a2b:3c4d=Pad One"}},
        {"[Hardware]\n1a2b:3c4d =\t\r\n", {"Rule missing value: 1a2b:3c4d =", "Cannot process line: 1a2b:3c4d =\t"}},
        {"[Hardware\n1a2b:3c4d = Pad\n",
         {"Invalid section specifier: [Hardware", "Cannot process line: [Hardware"}},
        {"1a2b:3c4d = Pad\n[Hardware]\n1a2b:3c4d = Pad\n",
         {"No section specifier for rule '1a2b:3c4d = Pad'", "Cannot process line: 1a2b:3c4d = Pad"}},
        // A byte-order mark is just three more bytes in front of the first line.
        {"\xEF\xBB\xBF[Hardware]\n1a2b:3c4d = Pad\n",
         {"No section specifier for rule '\xEF\xBB\xBF[Hardware]'", "Cannot process line: \xEF\xBB\xBF[Hardware]"}},
        // All lines valid, no hardware for the device: no message of its own.
        {"[Hardware]\n0001:0002 = Elsewhere\n[Elsewhere]\nLayout = X\n", {}},
        {"", {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.text);
        host.ClearRecords();
        EXPECT_FALSE(PrepareText(test.text));
        EXPECT_EQ(host.Logs(), Failure(test.middle));
    }
}

TEST_F(DatabaseReaderTest, LinesHoldAtMost255Characters) {
    const std::string head = "[Hardware]\n1a2b:3c4d = Pad\n[Pad]\n";
    const std::string longest = "Layout = " + std::string(246, 'x');  // 255 characters
    ASSERT_EQ(longest.size(), 255u);
    EXPECT_TRUE(PrepareText(head + longest + "\r\n" + longest));  // the last line needs no line break
    EXPECT_EQ(device.layoutName, std::string(246, 'x'));

    const Lines unreadable = Failure({"Found matching hardware 'Pad'", "Cannot read line from database file"});
    const std::string tooLong[] = {
        head + longest + "y\n",
        head + "#" + std::string(255, '#') + "\n",  // comments count too
        head + std::string(255, ' ') + "\r\r\n",    // so do blanks and a lone carriage return
        head + std::string(100000, 'z') + "\n",     // and no line is too long to read safely
    };
    for (const std::string& text : tooLong) {
        host.ClearRecords();
        EXPECT_FALSE(PrepareText(text));
        EXPECT_EQ(host.Logs(), unreadable);
    }
}

TEST_F(DatabaseReaderTest, TextEndsAtANulByte) {
    EXPECT_TRUE(PrepareText("[Hardware]\n1a2b:3c4d = Pad\n[Pad]\nLayout = Std\0junk\nB_1 = A\0B_2\n"s));
    EXPECT_EQ(device.layoutName, "Std");
    EXPECT_EQ(device.buttonTransforms, (Transforms{{0x1, 0x1}}));

    host.ClearRecords();
    EXPECT_FALSE(PrepareText("[Hardware]\n\0\0\0 stray\nx\0 = y\n"s));
    EXPECT_EQ(host.Logs(), Failure({"Rule missing assignment operator: x", "Cannot process line: x"}));
}

TEST_F(DatabaseReaderTest, PathsAreUtf16AndAMissingFileIsReported) {
    const std::string name = "pads-\xC3\xA9t\xC3\xA9-\xE6\xBC\xA2-\xF0\x9F\x8E\xAE.db";  // é, a CJK sign, an emoji
    EXPECT_TRUE(PrepareFile(files.Write(name, "[Hardware]\r\n1a2b:3c4d = Pad  # ours\r\n[Pad]\r\nLayout = Standard\r\n")));
    EXPECT_EQ(device.layoutName, "Standard");

    host.ClearRecords();
    const WideString missing = files.PathOf("missing-\xE6\xBC\xA2.db");
    EXPECT_FALSE(PrepareFile(missing));
    EXPECT_EQ(host.Logs(), Failure({"Cannot open database file " + ToUtf8(missing)}));
}

}  // namespace
}  // namespace Keyweave::GamePad
