// The combined direction pad: one finger on slot 15 that every swipe-hold key
// steers, played on a manual clock. Its timelines (the glide out, turns,
// combinations, lifts and a press that catches the finger before it lifts)
// are the golden run tests/timelines/direction_pad.play; here are the
// delays, the keys' physical state and what is queued.
#include <gtest/gtest.h>
#include <vector>

#include "actions/touch_actions.h"
#include "dispatch/dispatcher.h"
#include "support/sequence_bench.h"
#include "support/timeline.h"

namespace Keyweave {
namespace {

using Testing::ChangedContacts;
using Testing::ContactRow;
using Testing::RowsOfSlot;
using Testing::SameRows;

constexpr int32_t kPad = Dispatcher::kPadSlot;
constexpr uint32_t kKeyW = 0x11;  // up
constexpr uint32_t kKeyD = 0x20;  // right
constexpr uint32_t kKeyI = 0x17;  // a second up key

const Point kCentre{0.5f, 0.5f};
constexpr float kRadius = 0.1f;  // up and down reach 0.16
constexpr uint32_t kGlide = 10;

std::vector<uint32_t> AllPoolSlots() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}; }

// Presses and releases that the rule's key also shows as physically held.
struct PadKeys {
    Testing::SequenceBench& bench;
    TaskIdList Press(const SwipeHoldAction& action, uint32_t key, int32_t delayMs = 0) {
        bench.input->NoteKey(key, true);
        return bench.dispatcher->PlaySwipeHold(action, delayMs, true, key);
    }
    TaskIdList Release(const SwipeHoldAction& action, uint32_t key, int32_t delayMs = 0) {
        bench.input->NoteKey(key, false);
        return bench.dispatcher->PlaySwipeHold(action, delayMs, false, key);
    }
};

class DirectionPadTest : public ::testing::Test, protected Testing::SequenceBench {
protected:
    std::vector<ContactRow> PadRows() const { return RowsOfSlot(ChangedContacts(host.Frames(), kStart), kPad); }
    // Moves the clock to `ms` after the start.
    void At(Millis ms) { scheduler.AdvanceTo(kStart + ms); }

    PadKeys keys{*this};
    SwipeHoldAction up{kCentre, kSwipeUp, kRadius, kGlide};
    SwipeHoldAction right{kCentre, kSwipeRight, kRadius, kGlide};
};

TEST_F(DirectionPadTest, TheGlideOutStartsAtOnceWhateverTheDelayButATurnWaitsForIt) {
    const TaskIdList first = keys.Press(up, kKeyW, 40);
    At(100);
    const TaskIdList second = keys.Press(right, kKeyD, 40);
    ASSERT_GE(second.size(), first.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), second.begin())) << "the list carries the pad's last sequence";
    At(300);
    EXPECT_EQ(dispatcher->FreeSlots(), AllPoolSlots()) << "the pad never takes a pool slot";
    const std::vector<ContactRow> rows = PadRows();
    std::vector<int64_t> times;
    for (const ContactRow& row : rows) times.push_back(row.time);
    EXPECT_EQ(times, (std::vector<int64_t>{0, 10, 30, 50, 70, 90,  // as with no delay
                                           100, 100, 170}));       // turn steps at once, target at d + 30
}

TEST_F(DirectionPadTest, AReleaseOfAKeyThatIsUpDropsThePendingSequenceInsteadOfWaiting) {
    input->NoteKey(kKeyW, true);  // the host's key repeat: one more press than releases
    keys.Press(up, kKeyW);
    keys.Release(up, kKeyW);  // one release puts the key up, and no pad key is counted
    EXPECT_EQ(clock.Now(), kStart) << "nothing was waited for";
    At(300);
    EXPECT_TRUE(SameRows(PadRows(), {{100, kPad, 0.5f, 0.34f, false}}));  // only the lift, 100 ms later
}

TEST_F(DirectionPadTest, AReleaseWhileTheRuleKeyIsStillDownWaits) {
    keys.Press(up, kKeyW);
    dispatcher->PlaySwipeHold(up, 0, false, kKeyW);  // the key still shows as held
    EXPECT_EQ(clock.Now(), kStart + 90);
    At(300);
    const std::vector<ContactRow> rows = PadRows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_TRUE(SameRows({rows.back()}, {{190, kPad, 0.5f, 0.34f, false}}));
}

TEST_F(DirectionPadTest, AKeyThatAddsNoDirectionPlaysNothing) {
    keys.Press(up, kKeyW);
    At(100);
    SwipeHoldAction upAgain{{0.3f, 0.3f}, kSwipeUp, kRadius, kGlide};
    EXPECT_TRUE(keys.Press(upAgain, kKeyI).empty());
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
}

TEST_F(DirectionPadTest, AKeymapLoadLeavesThePadAlone) {
    keys.Press(up, kKeyW);
    At(100);
    dispatcher->Reset();
    EXPECT_EQ(host.Frames().back().points[kPad].down, 1u);
    keys.Press(right, kKeyD);
    At(200);
    const std::vector<ContactRow> rows = PadRows();
    ASSERT_EQ(rows.size(), 9u) << "the finger turns from where it was instead of starting over";
    EXPECT_EQ(rows[6].time, 100);
    EXPECT_EQ(rows[8].time, 130);
}

}  // namespace
}  // namespace Keyweave
