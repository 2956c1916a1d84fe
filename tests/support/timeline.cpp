#include "support/timeline.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "base/format.h"

namespace Keyweave::Testing {

namespace {

bool SameContact(const KeyweaveTouchPoint& a, const KeyweaveTouchPoint& b) {
    return a.x == b.x && a.y == b.y && a.down == b.down;
}

bool SameRow(const ContactRow& a, const ContactRow& b) {
    return a.time == b.time && a.slot == b.slot && a.down == b.down && std::fabs(a.x - b.x) <= kPositionTolerance &&
           std::fabs(a.y - b.y) <= kPositionTolerance;
}

std::string DescribeRow(const ContactRow& row) {
    char line[96];
    Format(line, sizeof line, "%6lld  slot %2d  (%.5f, %.5f)  %s", static_cast<long long>(row.time), row.slot,
           static_cast<double>(row.x), static_cast<double>(row.y), row.down ? "down" : "up");
    return line;
}

}  // namespace

std::vector<ContactRow> ChangedContacts(const std::vector<Frame>& frames, Millis origin) {
    std::vector<ContactRow> rows;
    std::vector<KeyweaveTouchPoint> previous;
    for (const Frame& frame : frames) {
        previous.resize(std::max(previous.size(), frame.points.size()), KeyweaveTouchPoint{0.0f, 0.0f, 0});
        for (size_t slot = 0; slot < frame.points.size(); ++slot) {
            const KeyweaveTouchPoint& point = frame.points[slot];
            if (SameContact(point, previous[slot])) continue;
            rows.push_back({static_cast<int64_t>(frame.time - origin), static_cast<int32_t>(slot), point.x, point.y,
                            point.down != 0});
            previous[slot] = point;
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
    for (const ContactRow& row : rows) text += DescribeRow(row) + "\n";
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
