// Log lines reach the sink exactly as formatted, cut at 1023 characters.
#include "base/log.h"

#include <gtest/gtest.h>
#include <string>

#include "support/recording_host.h"

namespace Keyweave {
namespace {

class LogTest : public ::testing::Test {
protected:
    void Install(bool verbose) { host.Attach(log, verbose); }
    Testing::RecordingHost host;
    Log log;
};

TEST_F(LogTest, LongLinesAreCutAt1023Characters) {
    Install(false);
    const std::string text(1500, 'x');
    log.Write("%s", text.c_str());
    log.Write("%s!", std::string(1022, 'y').c_str());
    log.Write("%s!", std::string(1023, 'z').c_str());
    const auto lines = host.Logs();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(1023, 'x'));
    EXPECT_EQ(lines[1], std::string(1022, 'y').append("!"));
    EXPECT_EQ(lines[2], std::string(1023, 'z'));
}

TEST_F(LogTest, LinesPassThroughWithNoPrefixOrLineEnd) {
    Install(false);
    log.Write("Initializing Keyweave");
    log.Write("%s()", "Keyweave::Accelerometer::Reset");
    log.Write("mAlwaysSendUnmappedKey -> %s", "true");
    log.Write("Loading %s", "%s%s%n%p");  // host text is never a format
    EXPECT_EQ(host.Logs(), (std::vector<std::string>{"Initializing Keyweave", "Keyweave::Accelerometer::Reset()",
                                                     "mAlwaysSendUnmappedKey -> true", "Loading %s%s%n%p"}));
}

TEST_F(LogTest, VerboseFlagGatesOnlyDetailLines) {
    Install(false);
    log.Write("always");
    log.Detail("report %d", 1);
    Install(true);
    log.Write("always");
    log.Detail("report %d", 2);
    EXPECT_EQ(host.Logs(), (std::vector<std::string>{"always", "always", "report 2"}));
    EXPECT_TRUE(log.Verbose());
}

TEST_F(LogTest, WideArgumentsPrintAsUtf8) {
    Install(false);
    const WideChar path[] = {'C', ':', '\\', 0x00E9, 0x6F22, 0xD83D, 0xDE00, '.', 'c', 'f', 'g', 0};
    log.Write("Loading config at %s", path);
    EXPECT_EQ(host.Logs(), std::vector<std::string>{"Loading config at C:\\\xC3\xA9\xE6\xBC\xA2\xF0\x9F\x98\x80.cfg"});
}

TEST_F(LogTest, NoSinkMeansNoLine) {
    log.Write("dropped");  // nothing installed yet: no crash, nothing recorded
    EXPECT_TRUE(host.Logs().empty());
}

}  // namespace
}  // namespace Keyweave
