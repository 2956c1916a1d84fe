// Mouse-driven sequences on a manual clock. Their timelines (tap-swipes and
// tap-swipe-clicks, the right-button swipe, the mouse's own finger, the
// mouse-held rectangle, touch-move) are the golden run
// tests/timelines/mouse_aim.play; here is what the host cannot see.
#include <gtest/gtest.h>
#include <memory>

#include "pointer_bench.h"

namespace Keyweave {
namespace {

class MouseSequencesTest : public ::testing::Test, protected Testing::PointerBench {};

// Records every re-centring of the pointer; the rest is the recorded state.
class CountingInput final : public Platform::InputState {
public:
    bool IsKeyDown(uint32_t keyCode) const override { return recorded_->IsKeyDown(keyCode); }
    bool IsLeftButtonDown() const override { return recorded_->IsLeftButtonDown(); }
    void NoteKey(uint32_t keyCode, bool down) override { recorded_->NoteKey(keyCode, down); }
    void NoteLeftButton(bool down) override { recorded_->NoteLeftButton(down); }
    void RecenterCursor() override { ++recentres; }
    int recentres = 0;

private:
    std::unique_ptr<Platform::InputState> recorded_ = Platform::CreateRecordedInputState();
};

TEST_F(MouseSequencesTest, TouchMoveRecentresThePointerOnItsPressAndGivesItsSlotBack) {
    CountingInput counting;
    Dispatcher moving(frame.data(), kTouchPointCount, nullptr, nullptr, host.Callbacks().touch, &host, scheduler, 1920,
                      1080, log, counting);
    TouchMoveAction move({0.3f, 0.7f});
    EXPECT_TRUE(moving.PlayTouchMove(move, 0, kMouseMove).empty()) << "no finger yet";
    EXPECT_EQ(counting.recentres, 0);
    moving.PlayTouchMove(move, 10, kKeyDownMessage);
    EXPECT_EQ(counting.recentres, 1);
    RunTo(20);
    moving.PlayTouchMove(move, 0, kKeyUpMessage);
    EXPECT_TRUE(moving.PlayTouchMove(move, 0, kMouseMove).empty()) << "lifted: nothing follows";
    RunTo(30);
    EXPECT_EQ(counting.recentres, 1);
    EXPECT_EQ(moving.FreeSlots().size(), 13u) << "the lift gave the slot back";
}

TEST_F(MouseSequencesTest, AClickWithoutATapSwipeClickKeyDownDoesNothing) {
    TapSwipeClickAction click{{0.5f, 0.5f}, 20};
    input->NoteLeftButton(true);
    Mouse(0.6f, 0.5f);
    EXPECT_TRUE(d().PlayTapSwipeClick(click, 0, kLeftButtonDown).empty());
    EXPECT_TRUE(d().PlayTapSwipeClick(click, 0, kLeftButtonUp).empty());
    EXPECT_EQ(scheduler.QueuedCount(), 0u);
}

}  // namespace
}  // namespace Keyweave
