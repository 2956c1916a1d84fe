// The combined direction pad: one finger on slot 15 that every swipe-hold key
// steers, played on a manual clock. The whole glide out, turn and lift of two
// keys is the shooter example's golden run.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
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

constexpr Millis kStart = Testing::SequenceBench::kStart;
constexpr int32_t kPad = Dispatcher::kPadSlot;
constexpr uint32_t kKeyW = 0x11;  // up
constexpr uint32_t kKeyS = 0x1F;  // down
constexpr uint32_t kKeyA = 0x1E;  // left
constexpr uint32_t kKeyD = 0x20;  // right
constexpr uint32_t kKeyI = 0x17;  // a second up key

const Point kCentre{0.5f, 0.5f};
constexpr float kRadius = 0.1f;  // up and down reach 0.16
constexpr uint32_t kGlide = 10;
const float kDiagonal = 1.0f / std::sqrt(2.0f);

std::vector<uint32_t> AllPoolSlots() { return {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}; }

// Presses and releases that the rule's key also shows as physically held.
struct PadKeys {
    Testing::SequenceBench& bench;
    TaskIdList Press(const SwipeHoldAction& action, uint32_t key, int32_t delayMs = 0) {
        bench.input->NoteKey(key, true);
        return bench.dispatcher->PlaySwipeHold(action, delayMs, true, {key});
    }
    TaskIdList Release(const SwipeHoldAction& action, uint32_t key, int32_t delayMs = 0) {
        bench.input->NoteKey(key, false);
        return bench.dispatcher->PlaySwipeHold(action, delayMs, false, {key});
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

TEST_F(DirectionPadTest, APressSoonAfterTheReleaseCatchesTheFingerBeforeItLifts) {
    keys.Press(up, kKeyW);
    At(100);
    keys.Release(up, kKeyW);  // lift due at 200
    At(150);
    // Another pad key within 100 ms: the gesture goes on with the first key's centre.
    SwipeHoldAction elsewhere{{0.2f, 0.8f}, kSwipeUp, 0.05f, kGlide};
    keys.Press(elsewhere, kKeyI);
    At(400);
    const std::vector<ContactRow> rows = PadRows();
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_TRUE(SameRows({rows.begin() + 6, rows.end()}, {
        {150, kPad, 0.5f, 0.5f, true},  // back at the centre, never lifted
        {160, kPad, 0.5f, 0.468f, true},
        {180, kPad, 0.5f, 0.436f, true},
        {200, kPad, 0.5f, 0.404f, true},  // no lift at 200
        {220, kPad, 0.5f, 0.372f, true},
        {240, kPad, 0.5f, 0.34f, true},
    }));
}

TEST_F(DirectionPadTest, APressLaterThanThatStartsAFreshGestureFromItsOwnCentre) {
    keys.Press(up, kKeyW);
    At(100);
    keys.Release(up, kKeyW);
    At(201);  // 101 ms after the release
    SwipeHoldAction elsewhere{{0.2f, 0.8f}, kSwipeRight, 0.05f, kGlide};
    keys.Press(elsewhere, kKeyD);
    At(400);
    const std::vector<ContactRow> rows = PadRows();
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_TRUE(SameRows({rows.begin() + 6, rows.end()}, {
        {200, kPad, 0.5f, 0.34f, false},  // the first gesture lifted
        {201, kPad, 0.2f, 0.8f, true},    // the new one glides out from its own centre
        {211, kPad, 0.21f, 0.8f, true},
        {231, kPad, 0.22f, 0.8f, true},
        {251, kPad, 0.23f, 0.8f, true},
        {271, kPad, 0.24f, 0.8f, true},
        {291, kPad, 0.25f, 0.8f, true},
    }));
}

TEST_F(DirectionPadTest, WithoutGlideTheFingerJumpsAndLiftsAtTheDelayAndNeverIsCaught) {
    SwipeHoldAction jump{kCentre, kSwipeUp, kRadius, 0};
    EXPECT_EQ(keys.Press(jump, kKeyW, 5).size(), 1u);
    At(100);
    keys.Release(jump, kKeyW, 50);  // lift due at 150
    At(110);
    keys.Press(jump, kKeyW, 50);  // within 100 ms, but nothing glides back
    At(300);
    EXPECT_TRUE(SameRows(PadRows(), {
        {5, kPad, 0.5f, 0.34f, true},    // straight to the target at d
        {150, kPad, 0.5f, 0.34f, false}, // the release lifts at d
        {160, kPad, 0.5f, 0.34f, true},  // a new gesture
    }));
}

TEST_F(DirectionPadTest, ASecondKeyWaitsForThePadsPreviousSequence) {
    keys.Press(up, kKeyW);
    keys.Press(right, kKeyD);  // while the glide out is still pending
    EXPECT_EQ(clock.Now(), kStart + 90) << "the call returned once the glide had been played";
    At(200);
    const std::vector<ContactRow> rows = PadRows();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[5].time, 90);  // the up target, as planned
    EXPECT_EQ(rows[6].time, 90);  // then the turn, from where the finger had got to
    EXPECT_NEAR(rows[6].x, 0.5f + kRadius * kDiagonal / 3, 1e-5f);
    EXPECT_EQ(rows[8].time, 120);
}

TEST_F(DirectionPadTest, AReleaseOfAKeyThatIsUpDropsThePendingSequenceInsteadOfWaiting) {
    keys.Press(up, kKeyW);
    keys.Release(up, kKeyW);  // the key is up and no pad key is counted
    EXPECT_EQ(clock.Now(), kStart) << "nothing was waited for";
    At(300);
    EXPECT_TRUE(SameRows(PadRows(), {{100, kPad, 0.5f, 0.34f, false}}));  // only the lift, 100 ms later
}

TEST_F(DirectionPadTest, AReleaseWhileTheRuleKeyIsStillDownWaits) {
    keys.Press(up, kKeyW);
    dispatcher->PlaySwipeHold(up, 0, false, {kKeyW});  // the key still shows as held
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

TEST_F(DirectionPadTest, TargetsOfDirectionCombinations) {
    const float diagonalX = kRadius * kDiagonal;
    const float diagonalY = 1.6f * kRadius * kDiagonal;
    struct Case {
        std::vector<uint32_t> directions;  // pressed in this order
        Point target;
    };
    const Case cases[] = {
        {{kSwipeUp}, {0.5f, 0.34f}},
        {{kSwipeDown}, {0.5f, 0.66f}},
        {{kSwipeLeft}, {0.4f, 0.5f}},
        {{kSwipeRight}, {0.6f, 0.5f}},
        {{kSwipeUp, kSwipeLeft}, {0.5f - diagonalX, 0.5f - diagonalY}},
        {{kSwipeDown, kSwipeRight}, {0.5f + diagonalX, 0.5f + diagonalY}},
        {{kSwipeUp, kSwipeDown}, {0.5f, 0.5f}},                   // opposites cancel
        {{kSwipeLeft, kSwipeRight, kSwipeUp}, {0.5f, 0.34f}},     // a straight line again
    };
    constexpr uint32_t kKeyOf[] = {0, kKeyW, kKeyS, kKeyA, kKeyD};
    for (const Case& c : cases) {
        Testing::SequenceBench bench;
        PadKeys padKeys{bench};
        for (uint32_t direction : c.directions) {
            padKeys.Press(SwipeHoldAction{kCentre, direction, kRadius, 0}, kKeyOf[direction]);
        }
        bench.scheduler.AdvanceBy(0);
        const Point finger{bench.frame[kPad].x, bench.frame[kPad].y};
        EXPECT_NEAR(finger.x, c.target.x, 1e-5f) << "case " << (&c - cases);
        EXPECT_NEAR(finger.y, c.target.y, 1e-5f) << "case " << (&c - cases);
        EXPECT_EQ(bench.frame[kPad].down, 1u);
    }
}

}  // namespace
}  // namespace Keyweave
