// One-line descriptions of the records for the configuration dump. Numbers are
// printed with two decimals; each text is cut to its buffer (80 bytes, 160 for
// the two "Point" texts).

#include "actions/actions.h"
#include "base/format.h"
#include "codes/key_names.h"

namespace Keyweave {
namespace {

constexpr size_t kDescription = 80;
constexpr size_t kPointDescription = 160;

template <size_t Size, typename... Args>
std::string Text(const char* format, Args... args) {
    char buffer[Size];
    Format(buffer, sizeof buffer, format, args...);
    return buffer;
}

const char* SwipeWord(uint32_t direction) {
    static constexpr const char* kWords[] = {"None", "Up", "Down", "Left", "Right"};
    return direction < std::size(kWords) ? kWords[direction] : "None";
}

const char* MaskWord(uint32_t mask) {
    switch (mask) {
        case SwipeHoldAction::kMaskUp:
            return "Up";
        case SwipeHoldAction::kMaskDown:
            return "Down";
        case SwipeHoldAction::kMaskLeft:
            return "Left";
        case SwipeHoldAction::kMaskRight:
            return "Right";
        default:
            return "None";
    }
}

}  // namespace

std::string ScreenAction::Describe() const {
    return Text<kDescription>("ScreenAction (%.2f,%.2f,%.2f)", point.x, point.y, radius);
}
std::string KeyAction::Describe() const { return Text<kDescription>("Key %s", KeyNameOf(keyCode)); }
std::string TapAction::Describe() const { return Text<kDescription>("Tap (%.2f,%.2f)", point.x, point.y); }
std::string TapTapAction::Describe() const {
    return Text<kDescription>("TapTap (%.2f,%.2f,%.2f,%.2f)", point.x, point.y, point2.x, point2.y);
}
std::string SwipeAction::Describe() const {
    return Text<kDescription>("Swipe %s (%.2f,%.2f)", SwipeWord(direction), point.x, point.y);
}
std::string SwipeActionXY::Describe() const {
    return Text<kDescription>("SwipeXY startPoint (%.2f,%.2f) endPoint (%.2f,%.2f)", start.x, start.y, end.x, end.y);
}
std::string SwipeTraceAction::Describe() const { return {}; }
std::string SwipeHoldAction::Describe() const {
    return Text<kDescription>("Swipe Hold %s (%.2f,%.2f)", MaskWord(directionMask), point.x, point.y);
}
std::string PinchAction::Describe() const { return in ? "Pinch In" : "Pinch Out"; }
std::string AbsoluteTiltAction::Describe() const { return "Tilt Absolute"; }
std::string RelativeTiltAction::Describe() const { return "Tilt Relative"; }
std::string MouseAction::Describe() const { return Text<kDescription>("Mouse (%d)", static_cast<int>(eventData)); }
std::string MouseSwipeAction::Describe() const {
    return Text<kPointDescription>("MouseSwipe Point (%.2f,%.2f,%.2f)", point.x, point.y, static_cast<double>(radius));
}
std::string MouseHoldAction::Describe() const {
    return Text<kDescription>("MouseHold (%.2f,%.2f %.2f,%.2f)", point.x, point.y, point2.x, point2.y);
}
std::string TapSwipeAction::Describe() const {
    return Text<kDescription>("TapSwipeAction (%.2f,%.2f,%.2f)", currentPoint.x, currentPoint.y, radius);
}
std::string TapSwipeClickAction::Describe() const {
    return Text<kPointDescription>("TapClickSwipe Point (%.2f,%.2f,%.2f)", currentPoint.x, currentPoint.y,
                                   static_cast<double>(radius));
}
std::string StickHoldAction::Describe() const { return Text<kDescription>("Stick (%.2f,%.2f)", point.x, point.y); }
std::string StickMoveAction::Describe() const { return Text<kDescription>("Stick (%.2f,%.2f)", point.x, point.y); }
std::string TouchMoveAction::Describe() const { return Text<kDescription>("TouchMove (%.2f,%.2f)", point.x, point.y); }
std::string TapCancelAction::Describe() const { return Text<kDescription>("TouchMove (%.2f,%.2f)", point.x, point.y); }
std::string ShootMoveAction::Describe() const { return Text<kDescription>("ShoothMove (%.2f,%.2f)", point.x, point.y); }
std::string ShootModeAction::Describe() const { return Text<kDescription>("ShoothMode (%.2f,%.2f)", point.x, point.y); }
std::string TapStickAction::Describe() const {
    return Text<kDescription>("TapStickAction (%.2f,%.2f,%.2f)", currentPoint.x, currentPoint.y, radius);
}
std::string SuspendShootAction::Describe() const { return "SuspendShoot"; }
std::string TapsMacroAction::Describe() const { return "TapMacroAction"; }

SwipeHoldAction::SwipeHoldAction(Point centre, uint32_t direction, float radiusFraction, uint32_t glide)
    : Action(ActionType::kSwipeHoldAction),
      point(centre),
      currentPoint(centre),
      radius(radiusFraction),
      glideTime(glide) {
    struct Row {
        uint32_t mask;
        int32_t axis;
    };
    static constexpr Row kByDirection[] = {{kMaskUp, -1}, {kMaskDown, 1}, {kMaskLeft, -2}, {kMaskRight, 2}};
    if (direction >= kSwipeUp && direction <= kSwipeRight) {
        directionMask = kByDirection[direction - 1].mask;
        axis = kByDirection[direction - 1].axis;
    }
}

}  // namespace Keyweave
