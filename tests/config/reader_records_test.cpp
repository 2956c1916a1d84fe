// The reader's records of what it found wrong: each is the log line it wrote,
// word for word, with the line, the place of the offending text on it and the
// family's stable name.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/log.h"
#include "config/config.h"
#include "config/parse_context.h"
#include "config/parser.h"

namespace Keyweave {
namespace {

struct Record {
    uint32_t line, column, length;
    std::string name, message;
};

class Records final : public ParseObserver {
public:
    void LineRead(uint32_t, std::string_view, uint32_t, bool) override {}
    void KeyRuleStored(uint32_t, const KeySet&, const ActionSet&) override {}
    void GamePadActionStored(uint32_t, uint32_t, const Action&) override {}
    void Diagnostic(const ReaderDiagnostic& d) override {
        said.push_back({d.line, d.column, d.length, std::string(d.name), std::string(d.message)});
    }
    std::vector<Record> said;
};

struct Read {
    std::vector<std::string> log;
    Records records;
    bool loaded = false;
};

void Collect(void* self, const char* line) { static_cast<Read*>(self)->log.emplace_back(line); }

Read ReadText(std::string_view text) {
    Read read;
    Log log;
    log.SetSink(&Collect, &read, false);
    Config config;
    ParseContext context{log, "", nullptr, nullptr};
    context.observer = &read.records;
    Config::Parser parser(config, context);
    read.loaded = parser.LoadText(text);
    return read;
}

TEST(ReaderRecordsTest, EachProblemIsARecordOfItsLogLineWithItsPlace) {
    const Read read = ReadText("\xEF\xBB\xBFZ = Tap\n[keys]\nB = Tap (50, 80)\nC = Swipe Upward\n[unknown]\n");
    const std::vector<Record>& said = read.records.said;
    ASSERT_EQ(said.size(), 11u);
    // The byte-order mark is a notice on line 1; the rule before any section
    // is at fault as a whole.
    EXPECT_EQ(said[0].name, "utf8-bom");
    EXPECT_EQ(said[1].name, "no-section");
    EXPECT_EQ(said[1].column, 4u);  // after the three bytes of the mark
    EXPECT_EQ(said[1].length, 7u);
    EXPECT_EQ(said[2].name, "line-rejected");
    // "(50," is what cannot be read: its column and length on line 3.
    EXPECT_EQ(said[3].line, 3u);
    EXPECT_EQ(said[3].name, "bad-point");
    EXPECT_EQ(said[3].message, "Cannot parse point: (50,");
    EXPECT_EQ(said[3].column, 9u);
    EXPECT_EQ(said[3].length, 4u);
    EXPECT_EQ(said[4].name, "bad-keys-rule");
    EXPECT_EQ(said[5].name, "line-rejected");
    EXPECT_EQ(said[6].name, "bad-direction");
    EXPECT_EQ(said[6].column, 11u);
    EXPECT_EQ(said[6].length, 6u);
    // A normalised section name is not text of the line: the header is meant.
    EXPECT_EQ(said[9].name, "invalid-section-name");
    EXPECT_EQ(said[9].line, 5u);
    EXPECT_EQ(said[9].column, 1u);
    EXPECT_EQ(said[9].length, 9u);
    EXPECT_EQ(said[10].name, "line-rejected");

    // Every record is a log line, in the same order; the log has nothing
    // else but traces and the flags.
    size_t next = 0;
    for (const std::string& line : read.log) {
        if (next < said.size() && line == said[next].message) ++next;
    }
    EXPECT_EQ(next, said.size());
}

TEST(ReaderRecordsTest, AFileThatCannotBeReadToItsEndSaysWhereItStopped) {
    const Read read = ReadText("[keys]\n" + std::string(9000, 'A') + "\n");
    EXPECT_FALSE(read.loaded);
    ASSERT_EQ(read.records.said.size(), 1u);
    EXPECT_EQ(read.records.said[0].name, "read-failed");
    EXPECT_EQ(read.records.said[0].line, 2u);
    EXPECT_EQ(read.records.said[0].message, "Cannot read line from configuration file");
    EXPECT_EQ(read.log.back(), read.records.said[0].message);
}

}  // namespace
}  // namespace Keyweave
