// Action records: their tags, dump texts and pad directions. The values a
// keymap gives them are tested through the parser.
#include "actions/actions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <memory>
#include <string>
#include <vector>

namespace Keyweave {
namespace {

struct Described {
    std::unique_ptr<Action> record;
    uint32_t tag;
    std::string text;
};

std::vector<Described> EveryRecord() {
    const Point a{0.5f, 0.25f};
    const Point b{0.125f, 1.0f};
    std::vector<Described> all;
    auto add = [&](Action* record, uint32_t tag, std::string text) {
        all.push_back({std::unique_ptr<Action>(record), tag, std::move(text)});
    };
    add(new ScreenAction(a, 0.3f), 0, "ScreenAction (0.50,0.25,0.30)");
    add(new KeyAction(0xE048), 1, "Key Up");
    add(new KeyAction(KeyAction::kUnknownKey), 1, "Key UNKNOWN");
    add(new TapAction(a), 2, "Tap (0.50,0.25)");
    add(new SwipeAction(a, kSwipeLeft), 3, "Swipe Left (0.50,0.25)");
    add(new SwipeAction(a, 9), 3, "Swipe None (0.50,0.25)");
    add(new SwipeActionXY(a, b), 4, "SwipeXY startPoint (0.50,0.25) endPoint (0.12,1.00)");
    add(new SwipeTraceAction(), 5, "");
    add(new SwipeHoldAction(a, kSwipeRight, 0.1f, 10), 6, "Swipe Hold Right (0.50,0.25)");
    add(new PinchAction(a, true), 7, "Pinch In");
    add(new PinchAction(a, false), 7, "Pinch Out");
    add(new AbsoluteTiltAction(10, 20, true), 8, "Tilt Absolute");
    add(new RelativeTiltAction(1, 2), 9, "Tilt Relative");
    add(new MouseAction(), 10, "Mouse (0)");
    add(new MouseSwipeAction(12, a), 12, "MouseSwipe Point (0.50,0.25,12.00)");
    add(new MouseHoldAction(a, b), 13, "MouseHold (0.50,0.25 0.12,1.00)");
    add(new TapSwipeAction(a, 7.5f, false), 14, "TapSwipeAction (0.50,0.25,7.50)");
    add(new TapTapAction(a, b), 15, "TapTap (0.50,0.25,0.12,1.00)");
    add(new TapSwipeClickAction(a, 8), 16, "TapClickSwipe Point (0.50,0.25,8.00)");
    add(new StickHoldAction({5000, 2500}, 1000, 0.5f), 17, "Stick (5000.00,2500.00)");
    add(new StickMoveAction({5000, 2500}, 0.5f), 18, "Stick (5000.00,2500.00)");
    add(new TouchMoveAction(a), 19, "TouchMove (0.50,0.25)");
    add(new ShootMoveAction(a, 0.5f), 20, "ShoothMove (0.50,0.25)");
    add(new ShootModeAction(a, b, ShootingMode::kFireFingerAims, 0.35f), 21, "ShoothMode (0.50,0.25)");
    add(new TapStickAction({5000, 2500}, 1500, 0.5f), 22, "TapStickAction (5000.00,2500.00,1500.00)");
    add(new TapCancelAction(a), 23, "TouchMove (0.50,0.25)");
    add(new SuspendShootAction(), 24, "SuspendShoot");
    add(new TapsMacroAction(), 25, "TapMacroAction");
    return all;
}

TEST(ActionsTest, EveryRecordHasItsTagNoSlotAndItsDumpText) {
    for (const Described& entry : EveryRecord()) {
        EXPECT_EQ(entry.record->type, entry.tag) << entry.text;
        EXPECT_EQ(entry.record->slot, -1) << entry.text;
        EXPECT_EQ(entry.record->Describe(), entry.text);
    }
}

TEST(ActionsTest, DumpTextsKeepTheDotUnderADecimalCommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale installed";
    const std::string text = TapAction({0.5f, 0.75f}).Describe();
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, "Tap (0.50,0.75)");
}

TEST(ActionsTest, SwipeHoldDirectionGivesMaskAndAxis) {
    struct Case {
        uint32_t direction, mask;
        int32_t axis;
    };
    for (const Case& c : {Case{1, 1, -1}, Case{2, 2, 1}, Case{3, 4, -2}, Case{4, 8, 2}, Case{0, 0, 0}, Case{5, 0, 0}}) {
        const SwipeHoldAction pad({0.2f, 0.7f}, c.direction, 0.1f, 30);
        EXPECT_EQ(pad.directionMask, c.mask) << c.direction;
        EXPECT_EQ(pad.axis, c.axis) << c.direction;
        EXPECT_EQ(pad.lastPoint, (Point{-1, -1}));
        EXPECT_EQ(pad.currentPoint, pad.point);
        EXPECT_TRUE(pad.taskIds.empty());
    }
}

}  // namespace
}  // namespace Keyweave
