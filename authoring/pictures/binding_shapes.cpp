#include "pictures/binding_shapes.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "actions/actions.h"
#include "codes/key_names.h"
#include "common/printf.h"

namespace Keyweave::Tool {

using enum ActionType;

namespace {

// Stick records keep hundredths of a percent.
constexpr float kStickScale = 10000.0f;

float Clamp01(float value) { return std::clamp(value, 0.0f, 1.0f); }

// A label beside a line from a point, on the side above it (left of it for a
// vertical line), so that lines starting at the same place keep apart.
void LabelBeside(PictureCanvas& canvas, double x, double y, double dx, double dy, const std::string& text,
                 const char* colour) {
    const double unit = canvas.Unit();
    double px = dy, py = -dx;  // perpendicular
    if (py > 0.0 || (py == 0.0 && px > 0.0)) {
        px = -px;
        py = -py;
    }
    canvas.Label(x + px * unit * 1.4, y + py * unit * 1.4, text, colour);
}

void DrawTap(PictureCanvas& canvas, const TapAction& tap, const std::string& keys, int crowd) {
    const double x = canvas.X(tap.point.x), y = canvas.Y(tap.point.y);
    canvas.Circle(x, y, canvas.Unit() * 1.4, Colours::kTap, true);
    // A tap alone carries its keys inside; more at the same place stack below.
    canvas.Label(x, crowd == 0 ? y : y + canvas.Unit() * (1.2 + 1.3 * crowd), keys, Colours::kText);
}

void DrawTapTap(PictureCanvas& canvas, const TapTapAction& tap, const std::string& keys) {
    const double x1 = canvas.X(tap.point.x), y1 = canvas.Y(tap.point.y);
    const double x2 = canvas.X(tap.point2.x), y2 = canvas.Y(tap.point2.y);
    canvas.Line(x1, y1, x2, y2, Colours::kTap, false, true);
    canvas.Circle(x1, y1, canvas.Unit(), Colours::kTap, true);
    canvas.Circle(x2, y2, canvas.Unit(), Colours::kTap, true);
    canvas.Label(x1, y1, "1", Colours::kText, 0.8);
    canvas.Label(x2, y2, "2", Colours::kText, 0.8);
    // The key alone under the first point: a longer label runs into the
    // neighbours' (the circles' 1 and 2 say which is pressed and released).
    canvas.Label(x1, y1 + canvas.Unit() * 1.8, keys, Colours::kTap);
}

void DrawArrow(PictureCanvas& canvas, Point from, Point to, const std::string& keys, const char* colour) {
    const double x1 = canvas.X(from.x), y1 = canvas.Y(from.y);
    const double x2 = canvas.X(to.x), y2 = canvas.Y(to.y);
    canvas.Circle(x1, y1, canvas.Unit() * 0.5, colour, true);
    canvas.Line(x1, y1, x2, y2, colour, true);
    const double length = std::max(1e-6, std::hypot(x2 - x1, y2 - y1));
    LabelBeside(canvas, x1, y1, (x2 - x1) / length, (y2 - y1) / length, keys, colour);
}

void DrawTrace(PictureCanvas& canvas, const SwipeTraceAction& trace, const std::string& keys) {
    std::string points;
    for (const Point& point : trace.points) {
        if (!points.empty()) points += " ";
        points += SvgNumber(canvas.X(point.x)) + "," + SvgNumber(canvas.Y(point.y));
    }
    const double x = canvas.X(trace.points.front().x), y = canvas.Y(trace.points.front().y);
    canvas.Circle(x, y, canvas.Unit() * 0.5, Colours::kSwipe, true);
    if (trace.points.size() > 1) canvas.Polyline(points, Colours::kSwipe, true);
    canvas.Label(x, y - canvas.Unit() * 1.8, keys, Colours::kSwipe);
}

void DrawPadArm(PictureCanvas& canvas, const SwipeHoldAction& key, const std::string& keys) {
    const Point target = PadTarget(key.point, key.directionMask, key.radius);
    const double cx = canvas.X(key.point.x), cy = canvas.Y(key.point.y);
    const double x = canvas.X(target.x), y = canvas.Y(target.y);
    canvas.Line(cx, cy, x, y, Colours::kPad, true);
    const double length = std::hypot(x - cx, y - cy);
    if (length < 1e-6) {
        canvas.Label(cx, cy + canvas.Unit() * 1.8, keys, Colours::kPad);
        return;
    }
    canvas.Label(x + (x - cx) / length * canvas.Unit() * 1.6, y + (y - cy) / length * canvas.Unit() * 1.6, keys,
                 Colours::kPad);
}

// A circle whose radius is `radius` of the screen width across and the same
// number of pixels up and down (the engine stretches the vertical offset by
// the aspect ratio, so the finger moves on a true circle).
void DrawRing(PictureCanvas& canvas, Point centre, float radius, float stretch, const std::string& keys,
              const char* colour, const char* what) {
    const double x = canvas.X(centre.x), y = canvas.Y(centre.y);
    canvas.Ellipse(x, y, radius * canvas.Width(), radius * stretch * canvas.Height(), colour, true);
    canvas.Circle(x, y, canvas.Unit() * 0.5, colour, true);
    canvas.Label(x, y - canvas.Unit() * 1.4, keys, colour);
    canvas.Label(x, y + canvas.Unit() * 1.6, what, colour, 0.7);
}

void DrawMarkedPoint(PictureCanvas& canvas, Point point, const std::string& keys, const char* colour,
                     const char* what) {
    const double x = canvas.X(point.x), y = canvas.Y(point.y);
    canvas.Cross(x, y, colour);
    canvas.Label(x, y - canvas.Unit() * 1.6, keys, colour);
    canvas.Label(x, y + canvas.Unit() * 1.6, what, colour, 0.7);
}

void DrawMacro(PictureCanvas& canvas, const TapsMacroAction& macro, const std::string& keys, int crowd) {
    // Taps on the same point share one circle with all their numbers.
    std::map<std::pair<float, float>, std::string> numbers;
    std::vector<std::pair<float, float>> order;
    for (size_t i = 0; i < macro.taps.size(); ++i) {
        const std::pair<float, float> at{macro.taps[i].point.x, macro.taps[i].point.y};
        std::string& text = numbers[at];
        if (text.empty()) order.push_back(at);
        if (!text.empty()) text += ',';
        text += Printf("%zu", i + 1);
    }
    for (const auto& at : order) {
        const double x = canvas.X(at.first), y = canvas.Y(at.second);
        canvas.Circle(x, y, canvas.Unit(), Colours::kMacro, true);
        canvas.Label(x, y, numbers[at], Colours::kText, 0.8);
    }
    const Point first = macro.taps.front().point;
    std::string label = keys;
    if (macro.repeat != 1) label += Printf(" x%d", macro.repeat);
    const double below = crowd == 0 ? -1.9 : 1.2 + 1.3 * crowd;
    canvas.Label(canvas.X(first.x), canvas.Y(first.y) + canvas.Unit() * below, label, Colours::kMacro);
}

void DrawShootMode(PictureCanvas& canvas, const ShootModeAction& shoot, const std::string& keys) {
    const double ax = canvas.X(shoot.point.x), ay = canvas.Y(shoot.point.y);
    const double fx = canvas.X(shoot.point2.x), fy = canvas.Y(shoot.point2.y);
    canvas.Line(ax, ay, fx, fy, Colours::kShoot, false, true);
    canvas.CrossHair(ax, ay, Colours::kShoot);
    canvas.Circle(fx, fy, canvas.Unit() * 1.4, Colours::kShoot, true);
    canvas.Label(ax, ay - canvas.Unit() * 2.6, keys + ": aim", Colours::kShoot);
    canvas.Label(fx, fy + canvas.Unit() * 2.4, keys + ": fire", Colours::kShoot);
}

void DrawTouchMove(PictureCanvas& canvas, Point point, const std::string& keys, const char* colour, const char* what) {
    const double x = canvas.X(point.x), y = canvas.Y(point.y), r = canvas.Unit() * 1.3;
    canvas.Line(x, y, x + r, y, colour, true);
    canvas.Line(x, y, x - r, y, colour, true);
    canvas.Line(x, y, x, y + r, colour, true);
    canvas.Line(x, y, x, y - r, colour, true);
    canvas.Label(x, y - canvas.Unit() * 2.2, keys, colour);
    canvas.Label(x, y + canvas.Unit() * 2.2, what, colour, 0.7);
}

Point StickPoint(Point hundredths) { return {hundredths.x / kStickScale, hundredths.y / kStickScale}; }

}  // namespace

const char* ActionKind(const Action& action) { return ActionTypeName(action.type); }

Point SwipeEnd(Point start, uint32_t direction) {
    constexpr float kLength = 0.2f;  // every keymap swipe is 20 percent long
    switch (direction) {
        case kSwipeUp:
            return {start.x, Clamp01(start.y - kLength)};
        case kSwipeDown:
            return {start.x, Clamp01(start.y + kLength)};
        case kSwipeLeft:
            return {Clamp01(start.x - kLength), start.y};
        case kSwipeRight:
            return {Clamp01(start.x + kLength), start.y};
        default:
            return start;
    }
}

Point PadTarget(Point centre, uint32_t mask, float radius) {
    constexpr float kVertical = 1.6f;  // the pad reaches further up and down than sideways
    float dx = 0.0f, dy = 0.0f;
    if (mask & SwipeHoldAction::kMaskUp) dy -= radius * kVertical;
    if (mask & SwipeHoldAction::kMaskDown) dy += radius * kVertical;
    if (mask & SwipeHoldAction::kMaskLeft) dx -= radius;
    if (mask & SwipeHoldAction::kMaskRight) dx += radius;
    if (dx != 0.0f && dy != 0.0f) {
        dx /= std::sqrt(2.0f);
        dy /= std::sqrt(2.0f);
    }
    return {centre.x + dx, centre.y + dy};
}

bool AnchorOf(const Action& action, Point& anchor) {
    switch (action.type) {
        case kTapAction:
            anchor = static_cast<const TapAction&>(action).point;
            return true;
        case kTapTapAction:
            anchor = static_cast<const TapTapAction&>(action).point;
            return true;
        case kSwipeAction:
            anchor = static_cast<const SwipeAction&>(action).point;
            return true;
        case kSwipeActionXY:
            anchor = static_cast<const SwipeActionXY&>(action).start;
            return true;
        case kSwipeTraceAction: {
            const auto& trace = static_cast<const SwipeTraceAction&>(action);
            if (trace.points.empty()) return false;
            anchor = trace.points.front();
            return true;
        }
        case kMouseSwipeAction:
            anchor = static_cast<const MouseSwipeAction&>(action).point;
            return true;
        case kMouseHoldAction:
            anchor = static_cast<const MouseHoldAction&>(action).point;
            return true;
        case kTapSwipeAction:
            anchor = static_cast<const TapSwipeAction&>(action).point;
            return true;
        case kTapSwipeClickAction:
            anchor = static_cast<const TapSwipeClickAction&>(action).point;
            return true;
        case kTouchMoveAction:
            anchor = static_cast<const TouchMoveAction&>(action).point;
            return true;
        case kTapCancelAction:
            anchor = static_cast<const TapCancelAction&>(action).point;
            return true;
        case kShootMoveAction:
            anchor = static_cast<const ShootMoveAction&>(action).point;
            return true;
        case kShootModeAction:
            anchor = static_cast<const ShootModeAction&>(action).point;
            return true;
        case kTapsMacroAction: {
            const auto& macro = static_cast<const TapsMacroAction&>(action);
            if (macro.taps.empty()) return false;
            anchor = macro.taps.front().point;
            return true;
        }
        case kStickHoldAction:
            anchor = StickPoint(static_cast<const StickHoldAction&>(action).point);
            return true;
        case kStickMoveAction:
            anchor = StickPoint(static_cast<const StickMoveAction&>(action).point);
            return true;
        case kTapStickAction:
            anchor = StickPoint(static_cast<const TapStickAction&>(action).point);
            return true;
        case kScreenAction:
        case kKeyAction:
        case kSwipeHoldAction:
        case kPinchAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kMouseAction:
        case kSuspendShootAction:
            return false;
    }
    return false;  // a tag no keymap makes
}

bool DrawBindingShape(PictureCanvas& canvas, const Action& action, const std::string& keys,
                      const ShapeContext& context) {
    const auto widthStretch = static_cast<float>(canvas.Width() / canvas.Height());
    switch (action.type) {
        case kTapAction:
            DrawTap(canvas, static_cast<const TapAction&>(action), keys, context.crowd);
            return true;
        case kTapTapAction:
            DrawTapTap(canvas, static_cast<const TapTapAction&>(action), keys);
            return true;
        case kSwipeAction: {
            const auto& swipe = static_cast<const SwipeAction&>(action);
            DrawArrow(canvas, swipe.point, SwipeEnd(swipe.point, swipe.direction), keys, Colours::kSwipe);
            return true;
        }
        case kSwipeActionXY: {
            const auto& swipe = static_cast<const SwipeActionXY&>(action);
            DrawArrow(canvas, swipe.start, swipe.end, keys, Colours::kSwipe);
            return true;
        }
        case kSwipeTraceAction: {
            const auto& trace = static_cast<const SwipeTraceAction&>(action);
            if (trace.points.empty()) return false;
            DrawTrace(canvas, trace, keys);
            return true;
        }
        case kSwipeHoldAction:
            DrawPadArm(canvas, static_cast<const SwipeHoldAction&>(action), keys);
            return true;
        case kMouseSwipeAction: {
            const auto& swipe = static_cast<const MouseSwipeAction&>(action);
            DrawRing(canvas, swipe.point, static_cast<float>(swipe.radius) / 100.0f, widthStretch, keys,
                     Colours::kMouse, "right-drag swipes");
            return true;
        }
        case kMouseHoldAction: {
            const auto& hold = static_cast<const MouseHoldAction&>(action);
            const double x = canvas.X(hold.point.x), y = canvas.Y(hold.point.y);
            canvas.Rectangle(x, y, canvas.X(hold.point2.x) - x, canvas.Y(hold.point2.y) - y, Colours::kMouse, true);
            canvas.Label(x + (canvas.X(hold.point2.x) - x) / 2, y + (canvas.Y(hold.point2.y) - y) / 2,
                         keys + ": finger follows the mouse here", Colours::kMouse);
            return true;
        }
        case kTapSwipeAction: {
            const auto& swipe = static_cast<const TapSwipeAction&>(action);
            DrawRing(canvas, swipe.point, swipe.radius / 100.0f, context.tapSwipeStretch, keys, Colours::kMouse,
                     "aims with the mouse");
            return true;
        }
        case kTapSwipeClickAction: {
            const auto& swipe = static_cast<const TapSwipeClickAction&>(action);
            DrawRing(canvas, swipe.point, static_cast<float>(swipe.radius) / 100.0f, context.tapSwipeStretch, keys,
                     Colours::kMouse, "aims while the left button is held");
            return true;
        }
        case kTouchMoveAction:
            DrawTouchMove(canvas, static_cast<const TouchMoveAction&>(action).point, keys, Colours::kMouse,
                          "moves with the mouse");
            return true;
        case kTapCancelAction:
            DrawMarkedPoint(canvas, static_cast<const TapCancelAction&>(action).point, keys, Colours::kTap,
                            "held finger glides here");
            return true;
        case kShootMoveAction: {
            const auto& shoot = static_cast<const ShootMoveAction&>(action);
            const double x = canvas.X(shoot.point.x), y = canvas.Y(shoot.point.y);
            canvas.CrossHair(x, y, Colours::kShoot);
            canvas.Label(x, y - canvas.Unit() * 2.6, keys + ": aim", Colours::kShoot);
            return true;
        }
        case kShootModeAction:
            DrawShootMode(canvas, static_cast<const ShootModeAction&>(action), keys);
            return true;
        case kTapsMacroAction: {
            const auto& macro = static_cast<const TapsMacroAction&>(action);
            if (macro.taps.empty()) return false;
            DrawMacro(canvas, macro, keys, context.crowd);
            return true;
        }
        case kStickHoldAction: {
            const auto& stick = static_cast<const StickHoldAction&>(action);
            DrawRing(canvas, StickPoint(stick.point), stick.radius / kStickScale, widthStretch, keys, Colours::kStick,
                     "joystick");
            return true;
        }
        case kTapStickAction: {
            const auto& stick = static_cast<const TapStickAction&>(action);
            DrawRing(canvas, StickPoint(stick.point), stick.radius / kStickScale, widthStretch, keys, Colours::kStick,
                     "tap, then joystick");
            return true;
        }
        case kStickMoveAction:
            DrawTouchMove(canvas, StickPoint(static_cast<const StickMoveAction&>(action).point), keys, Colours::kStick,
                          "moves with the stick");
            return true;
        case kScreenAction:
        case kKeyAction:
        case kPinchAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kMouseAction:
        case kSuspendShootAction:
            return false;
    }
    return false;  // a tag no keymap makes
}

std::string LegendText(const Action& action) {
    switch (action.type) {
        case kKeyAction: {
            const uint32_t code = static_cast<const KeyAction&>(action).keyCode;
            if (code == KeyAction::kUnknownKey) return "key UNKNOWN (the name after Key is not a key name)";
            return std::string("key ") + KeyNameOf(code);
        }
        case kAbsoluteTiltAction: {
            const auto& tilt = static_cast<const AbsoluteTiltAction&>(action);
            return Printf("tilt to pitch %g, roll %g degrees, %s", tilt.pitch, tilt.roll,
                          tilt.returnToLevel ? "level again on release" : "stays tilted on release");
        }
        case kRelativeTiltAction: {
            const auto& tilt = static_cast<const RelativeTiltAction&>(action);
            return Printf("tilt by pitch %g, roll %g degrees on each press", tilt.pitch, tilt.roll);
        }
        case kSuspendShootAction:
            return "shooting pauses while held";
        case kSwipeTraceAction:
            return "swipe trace without points (does nothing)";
        case kTapsMacroAction:
            return "tap macro without taps (does nothing)";
        case kScreenAction:
        case kTapAction:
        case kSwipeAction:
        case kSwipeActionXY:
        case kSwipeHoldAction:
        case kPinchAction:
        case kMouseAction:
        case kMouseSwipeAction:
        case kMouseHoldAction:
        case kTapSwipeAction:
        case kTapTapAction:
        case kTapSwipeClickAction:
        case kStickHoldAction:
        case kStickMoveAction:
        case kTouchMoveAction:
        case kShootMoveAction:
        case kShootModeAction:
        case kTapStickAction:
        case kTapCancelAction:
            return action.Describe();
    }
    return action.Describe();  // a tag no keymap makes
}

}  // namespace Keyweave::Tool
