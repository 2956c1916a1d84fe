// Mouse input end to end: the left button's own finger, the right button as
// a key, the actions that follow the pointer, and the moves handed back to
// the host. The left button while shooting (no touch of its own, its release
// still lifts the mouse finger) is the shooter's golden run.
#include <gtest/gtest.h>

#include "support/keymap_engine.h"

namespace Keyweave::Testing {
namespace {

constexpr uint32_t kH = 35;
constexpr int32_t kMove = 512, kLeftDown = 513, kLeftUp = 514, kRightDown = 516, kRightUp = 517;
constexpr int32_t kMouseSlot = 13;

class MouseInputTest : public KeymapEngineTest {};

TEST_F(MouseInputTest, UnusedMovesGoBackToTheHostOnceEachAndRepeatsAreDropped) {
    Load("[keys]\n");
    Mouse(0.2f, 0.2f, kMove);  // the first left-button event makes the mouse finger's record
    const int before = host().PassThroughs();
    Mouse(0.3f, 0.3f, kMove);
    Mouse(0.3f, 0.3f, kMove);  // same place: dropped
    Mouse(0.4f, 0.3f, kMove);
    EXPECT_EQ(host().PassThroughs() - before, 2);
    EXPECT_TRUE(SameRows(Rows(), {{0, kMouseSlot, 0.2f, 0.2f, false}})) << "the record's first touch is a lift";
}

TEST_F(MouseInputTest, ALeftButtonDragIsATouchOnTheMouseSlot) {
    Load("[keys]\n");
    Mouse(0.3f, 0.3f, kLeftDown);
    EXPECT_TRUE(engine().input().IsLeftButtonDown());
    AdvanceTo(16);
    Mouse(0.4f, 0.35f, kMove);
    AdvanceTo(32);
    Mouse(0.4f, 0.35f, kLeftUp);
    EXPECT_FALSE(engine().input().IsLeftButtonDown());
    EXPECT_EQ(host().PassThroughs(), 0) << "moves during a drag are the keymap's";
    Mouse(0.5f, 0.5f, kMove);
    EXPECT_EQ(host().PassThroughs(), 1);
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, kMouseSlot, 0.3f, 0.3f, true},
                                     {16, kMouseSlot, 0.4f, 0.35f, true},
                                     {32, kMouseSlot, 0.4f, 0.35f, false},
                                 }));
}

TEST_F(MouseInputTest, TheRightButtonIsTheRightClickKey) {
    Load("[keys]\nRightClick = Tap (70,70)\n");
    Mouse(0.1f, 0.1f, kMove);  // the mouse finger's record exists from here on
    Mouse(0.1f, 0.1f, kRightDown);
    const int before = host().PassThroughs();
    Mouse(0.2f, 0.2f, kMove);
    EXPECT_EQ(host().PassThroughs(), before) << "no pass-through while a button is held";
    AdvanceTo(40);
    Mouse(0.2f, 0.2f, kRightUp);
    EXPECT_TRUE(SameRows(RowsOfSlot(Rows(), 0), {{0, 0, 0.7f, 0.7f, true}, {40, 0, 0.7f, 0.7f, false}}));
    EXPECT_TRUE(Bytes().empty());
    EXPECT_FALSE(engine().heldKeys().Contains({258}));
}

TEST_F(MouseInputTest, AMouseHoldFollowsTheDragInsideItsRectangleOnly) {
    Load("[keys]\nH = MouseHold (20,20,60,60)\n");
    Tap(kH);  // the first release hands the left button to the rectangle
    Mouse(0.3f, 0.3f, kLeftDown);
    AdvanceTo(10);
    Mouse(0.4f, 0.4f, kMove);
    AdvanceTo(20);
    Mouse(0.8f, 0.8f, kMove);  // out of the rectangle: the finger lifts there
    AdvanceTo(30);
    Mouse(0.8f, 0.8f, kLeftUp);
    Tap(kH);  // hands the button back
    RunAll();
    EXPECT_TRUE(SameRows(Rows(), {
                                     {0, 0, 0.3f, 0.3f, true},
                                     {10, 0, 0.4f, 0.4f, true},
                                     {20, 0, 0.8f, 0.8f, false},
                                 }));
    EXPECT_EQ(engine().config().ActiveActions().GetActive(kMouseHoldAction), nullptr);
    EXPECT_EQ(engine().dispatcher().FreeSlots().size(), 13u);
}

TEST_F(MouseInputTest, OtherMessagesOnlyReachTheActiveActions) {
    Load("[keys]\n");
    Mouse(0.3f, 0.3f, 0x20A);  // a wheel message
    RunAll();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(host().PassThroughs(), 0);
    EXPECT_TRUE(host().Logs().empty());
}

}  // namespace
}  // namespace Keyweave::Testing
