#pragma once
// Timelines of touch frames for sequence tests.
//
// The host receives the whole 16-contact frame on every report, which makes
// recorded frames hard to read. ChangedContacts turns them into one row per
// contact that changed, so a test states the expected sequence as a short
// table:
//
//     EXPECT_TRUE(SameRows(ChangedContacts(host.Frames(), start), {
//         {0, 0, 0.50f, 0.50f, true},    // down at the start point
//         {72, 0, 0.50f, 0.30f, false},  // lift at the end point
//     }));
//
// A report that repeats what a contact already showed (a step that is clamped
// at the screen edge, a settle touch) changes nothing and adds no row;
// FrameTimes lists every report, so such steps can still be checked.

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/clock.h"
#include "support/recording_host.h"

namespace Keyweave::Testing {

struct ContactRow {
    int64_t time;  // ms after the timeline's origin
    int32_t slot;
    float x;
    float y;
    bool down;
};

// Positions closer than this compare equal: steps are sums of floats.
inline constexpr float kPositionTolerance = 1e-5f;

// The contacts that changed from each frame to the next, in slot order within
// a frame, starting from an all-up frame at (0, 0), as the keyweave command
// follows them. Times are relative to `origin`.
std::vector<ContactRow> ChangedContacts(const std::vector<Frame>& frames, Millis origin);

// The rows of one slot only.
std::vector<ContactRow> RowsOfSlot(const std::vector<ContactRow>& rows, int32_t slot);

// The time of every report, relative to `origin`.
std::vector<int64_t> FrameTimes(const std::vector<Frame>& frames, Millis origin);

// Row-by-row comparison, positions within kPositionTolerance. On a mismatch
// the message shows both timelines and the first row that differs.
::testing::AssertionResult SameRows(const std::vector<ContactRow>& actual, const std::vector<ContactRow>& expected);

// The rows as the keyweave command prints a timeline, one a line.
std::string DescribeRows(const std::vector<ContactRow>& rows);

}  // namespace Keyweave::Testing
