// The example game-pad database we ship: every pad it lists attaches with its
// layout, and its lower face button and hat-up arrive as A and Hat_Up.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "example_database.h"
#include "pad_bench.h"

namespace Keyweave::GamePad {
namespace {

using Testing::Lines;
using Testing::Rest;

struct Entry {
    uint32_t vendor, product;
    const char* hardware;
    const char* layout;
    int32_t lowerFaceButton;  // raw bit of the button in the A position
    bool hatOnAxes;           // the d-pad reports as X and Y
};

constexpr Entry kEntries[] = {
    {0x045e, 0x028e, "Xbox Style Pad", "Xbox", 0x1, false},
    {0x045e, 0x02ea, "Xbox Style Pad", "Xbox", 0x1, false},
    {0x054c, 0x05c4, "PlayStation Style Pad", "PlayStation", 0x2, false},
    {0x054c, 0x09cc, "PlayStation Style Pad", "PlayStation", 0x2, false},
    {0x0079, 0x0011, "Eight Button Pad", "Eight Button", 0x4, true},
    {0x8380, 0x0003, "Generic Pad", "Generic", 0x1, false},
};

std::string Ids(uint32_t vendor, uint32_t product) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (uint32_t value : {vendor, product}) {
        if (!text.empty()) text += ':';
        for (int shift = 12; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
    }
    return text;
}

TEST(ExampleDatabaseTest, EveryEntryAttachesAndMapsItsButtonsAndHat) {
    Testing::Bench bench;
    const WideString path = bench.files.Write("example.db", kExampleDatabase);
    int32_t id = 0;
    for (const Entry& entry : kEntries) {
        SCOPED_TRACE(Ids(entry.vendor, entry.product));
        ++id;
        bench.host.ClearRecords();
        bench.runtime->Attach(id, entry.vendor, entry.product, path);
        const Lines logs = bench.host.Logs();
        ASSERT_GE(logs.size(), 3u);
        EXPECT_EQ(logs[1], "Preparing GamePad");
        EXPECT_EQ(logs[2], std::string("Found matching hardware '") + entry.hardware + "'");
        ASSERT_EQ(bench.host.Notices().size(), 1u);
        EXPECT_EQ(bench.host.Notices()[0].layout, entry.layout);

        Report report = Rest();
        report.buttons = entry.lowerFaceButton;
        if (entry.hatOnAxes) {
            report.y = -1000;
        } else {
            report.hat = 0;
        }
        bench.Send(id, report);
        EXPECT_EQ(bench.routing.Take(), (Lines{"direct 0x10000 down", "direct 0x1 down"}));
    }
}

TEST(ExampleDatabaseTest, UnlistedPadsGetTheGenericEntry) {
    Testing::Bench bench;
    bench.runtime->Attach(1, 0x1234, 0x5678, bench.files.Write("example.db", kExampleDatabase));
    ASSERT_EQ(bench.host.Notices().size(), 1u);
    EXPECT_EQ(bench.host.Notices()[0].layout, "Generic");
    EXPECT_TRUE(bench.host.HasLog("Found matching hardware 'Generic Pad'"));
}

TEST(ExampleDatabaseTest, EveryListedPadIsCoveredHere) {
    std::set<std::string> listed;
    std::istringstream text(kExampleDatabase);
    bool hardware = false;
    for (std::string line; std::getline(text, line);) {
        EXPECT_LE(line.size(), 255u) << line;  // the longest line the reader takes
        line = line.substr(0, line.find('#'));
        const size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos) continue;
        line = line.substr(start);
        if (line[0] == '[') {
            hardware = line.rfind("[Hardware]", 0) == 0 || line.rfind("[Hardware.Win32]", 0) == 0;
        } else if (hardware) {
            listed.insert(line.substr(0, line.find_first_of(" \t")));
        }
    }
    std::set<std::string> tested;
    for (const Entry& entry : kEntries) tested.insert(Ids(entry.vendor, entry.product));
    EXPECT_EQ(listed, tested);
}

}  // namespace
}  // namespace Keyweave::GamePad
