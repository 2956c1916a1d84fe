#include "support/timeline.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "timeline/timeline.h"
#include "timeline/timeline_printer.h"

namespace Keyweave::Testing {

namespace {

bool SameRow(const ContactRow& a, const ContactRow& b) {
    return a.time == b.time && a.slot == b.slot && a.down == b.down && std::fabs(a.x - b.x) <= kPositionTolerance &&
           std::fabs(a.y - b.y) <= kPositionTolerance;
}

}  // namespace

std::vector<ContactRow> ChangedContacts(const std::vector<Frame>& frames, Millis origin) {
    std::vector<ContactRow> rows;
    Tool::ContactTracker contacts;
    for (const Frame& frame : frames) {
        for (const auto& change : contacts.Follow(frame.points.data(), static_cast<uint32_t>(frame.points.size()))) {
            rows.push_back({static_cast<int64_t>(frame.time - origin), change.slot, change.now.x, change.now.y,
                            change.now.down != 0});
        }
    }
    return rows;
}

std::vector<ContactRow> RowsOfSlot(const std::vector<ContactRow>& rows, int32_t slot) {
    std::vector<ContactRow> kept;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(kept),
                 [slot](const ContactRow& row) { return row.slot == slot; });
    return kept;
}

std::vector<int64_t> FrameTimes(const std::vector<Frame>& frames, Millis origin) {
    std::vector<int64_t> times;
    for (const Frame& frame : frames) times.push_back(static_cast<int64_t>(frame.time - origin));
    return times;
}

std::string DescribeRows(const std::vector<ContactRow>& rows) {
    std::string text;
    std::vector<bool> down(KEYWEAVE_TOUCH_POINTS);
    for (const ContactRow& row : rows) {
        Tool::TimelineEvent event;
        event.kind = Tool::TimelineEvent::Kind::kTouch;
        event.time = row.time;
        event.slot = row.slot;
        event.x = row.x;
        event.y = row.y;
        event.down = row.down;
        const bool known = row.slot >= 0 && static_cast<size_t>(row.slot) < down.size();
        event.wasDown = known && down[static_cast<size_t>(row.slot)];
        if (known) down[static_cast<size_t>(row.slot)] = row.down;
        text += Tool::EventText(event) + "\n";
    }
    return text.empty() ? "(no rows)\n" : text;
}

::testing::AssertionResult SameRows(const std::vector<ContactRow>& actual, const std::vector<ContactRow>& expected) {
    const size_t common = std::min(actual.size(), expected.size());
    size_t first = 0;
    while (first < common && SameRow(actual[first], expected[first])) ++first;
    if (first == common && actual.size() == expected.size()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "timelines differ at row " << first << "\nexpected:\n"
                                         << DescribeRows(expected) << "actual:\n"
                                         << DescribeRows(actual);
}

}  // namespace Keyweave::Testing
