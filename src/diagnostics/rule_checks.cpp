// Warnings about the rules the reader stored: where their points land, keys
// bound twice, direction pads, chords, unknown keys and the shooting mode.

#include <cmath>
#include <map>

#include "actions/mouse_actions.h"
#include "actions/stick_actions.h"
#include "actions/touch_actions.h"
#include "codes/control_names.h"
#include "codes/key_names.h"
#include "diagnostics/checks.h"

namespace Keyweave::Diagnostics {

using enum ActionType;

namespace {

constexpr float kEpsilon = 1e-4f;

struct Placed {
    std::vector<Point> points;  // fractions of the screen
};

// Every point a record touches, as fractions of the screen.
Placed PointsOf(const Action& action) {
    switch (action.type) {
        case kTapAction:
            return {{static_cast<const TapAction&>(action).point}};
        case kTapCancelAction:
            return {{static_cast<const TapCancelAction&>(action).point}};
        case kTouchMoveAction:
            return {{static_cast<const TouchMoveAction&>(action).point}};
        case kSwipeAction:
            return {{static_cast<const SwipeAction&>(action).point}};
        case kSwipeHoldAction:
            return {{static_cast<const SwipeHoldAction&>(action).point}};
        case kMouseSwipeAction:
            return {{static_cast<const MouseSwipeAction&>(action).point}};
        case kTapSwipeAction:
            return {{static_cast<const TapSwipeAction&>(action).point}};
        case kTapSwipeClickAction:
            return {{static_cast<const TapSwipeClickAction&>(action).point}};
        case kShootMoveAction:
            return {{static_cast<const ShootMoveAction&>(action).point}};
        case kTapTapAction: {
            const auto& tap = static_cast<const TapTapAction&>(action);
            return {{tap.point, tap.point2}};
        }
        case kMouseHoldAction: {
            const auto& hold = static_cast<const MouseHoldAction&>(action);
            return {{hold.point, hold.point2}};
        }
        case kSwipeActionXY: {
            const auto& swipe = static_cast<const SwipeActionXY&>(action);
            return {{swipe.start, swipe.end}};
        }
        case kShootModeAction: {
            const auto& mode = static_cast<const ShootModeAction&>(action);
            return {{mode.point, mode.point2}};
        }
        case kSwipeTraceAction:
            return {static_cast<const SwipeTraceAction&>(action).points};
        case kTapsMacroAction: {
            Placed placed;
            for (const TapsMacroAction::Tap& tap : static_cast<const TapsMacroAction&>(action).taps) {
                placed.points.push_back(tap.point);
            }
            return placed;
        }
        case kStickHoldAction:
        case kStickMoveAction:
        case kTapStickAction: {
            // Stick records keep hundredths of a percent.
            Point point = action.type == kStickHoldAction   ? static_cast<const StickHoldAction&>(action).point
                          : action.type == kStickMoveAction ? static_cast<const StickMoveAction&>(action).point
                                                            : static_cast<const TapStickAction&>(action).point;
            return {{{point.x / 10000.0f, point.y / 10000.0f}}};
        }
        case kScreenAction:
        case kKeyAction:
        case kPinchAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kMouseAction:
        case kSuspendShootAction:
            return {};
    }
    return {};  // a tag no keymap makes
}

std::string PointText(Point point) { return "(" + Number(point.x * 100) + "," + Number(point.y * 100) + ")"; }

bool OffScreen(Point point) {
    return point.x < -kEpsilon || point.y < -kEpsilon || point.x > 1 + kEpsilon || point.y > 1 + kEpsilon;
}

// Written as fractions where percent is meant: every value from 0 to 1 and
// at least one of them not whole.
bool WrittenAsFractions(const std::vector<Point>& points) {
    bool fraction = false;
    for (const Point& point : points) {
        for (const float percent : {point.x * 100, point.y * 100}) {
            if (percent < -kEpsilon || percent > 1 + kEpsilon) return false;
            if (std::fabs(percent - std::round(percent)) > 1e-3f) fraction = true;
        }
    }
    return fraction;
}

std::string RuleName(const SeenRule& rule) {
    if (rule.keys.empty()) return GamePad::ControlNameOf(rule.control);
    std::string name;
    for (const uint32_t code : rule.keys) name += (name.empty() ? "" : ",") + std::string(KeyNameOf(code));
    return name;
}

void CheckPoints(const SeenRule& rule, Warnings& warnings) {
    for (const Action* action : rule.actions) {
        const Placed placed = PointsOf(*action);
        for (const Point& point : placed.points) {
            if (!OffScreen(point)) continue;
            warnings.Add(rule.line, "off-screen",
                         "the point " + PointText(point) +
                             " is off the screen, where nothing can touch it: "
                             "positions are percent of the screen, from 0 to 100");
            return;
        }
        if (WrittenAsFractions(placed.points)) {
            const Point& first = placed.points.front();
            warnings.Add(rule.line, "percent-fraction",
                         "the point " + PointText(first) +
                             " is read as percent, in the top-left corner: positions "
                             "are percent of the screen, so write (" +
                             Number(first.x * 10000) + "," + Number(first.y * 10000) + ") for fractions " +
                             PointText(first));
            return;
        }
    }
}

}  // namespace

void CheckRules(const Seen& seen, Warnings& warnings) {
    const Config& config = *seen.config;
    std::map<KeySet, uint32_t> keyLines;
    std::map<uint32_t, uint32_t> controlLines;
    bool padSeen = false;
    Point padCentre;
    uint32_t padLine = 0;
    for (const SeenRule& rule : seen.rules) {
        CheckPoints(rule, warnings);
        const std::string name = RuleName(rule);
        uint32_t& earlier = rule.keys.empty() ? controlLines[rule.control] : keyLines[rule.keys];
        if (earlier != 0) {
            warnings.Add(rule.line, "key-bound-twice",
                         name + " is already bound on line " + std::to_string(earlier) +
                             ": this rule replaces that one, which does nothing; put both actions in one rule, "
                             "separated by ';', or bind another key");
        }
        earlier = rule.line;
        if (rule.keys.size() >= 3) {
            warnings.Add(rule.line, "three-key-chord",
                         name +
                             " never runs: the engine matches one key or two keys held together, not three; "
                             "bind one or two keys");
        }
        for (const Action* action : rule.actions) {
            if (action->type == kSwipeHoldAction && !rule.keys.empty()) {
                const Point centre = static_cast<const SwipeHoldAction&>(*action).point;
                if (!padSeen) {
                    padSeen = true;
                    padCentre = centre;
                    padLine = rule.line;
                } else if (centre != padCentre && padLine != 0) {
                    warnings.Add(rule.line, "two-direction-pads",
                                 "a second direction pad, centred at " + PointText(centre) +
                                     ": the engine moves one pad finger for every SwipeHold rule, so this rule "
                                     "pulls the finger of the pad on line " +
                                     std::to_string(padLine) + " at " + PointText(padCentre) +
                                     "; give every SwipeHold rule the same centre");
                    padLine = 0;  // once
                }
            }
            if (action->type != kTapAction || config.mEnableShootingMode != 0) continue;
            if (rule.keys == KeySet{kKeyMouseMove}) {
                warnings.Add(rule.line, "shooting-mode-off",
                             "a MouseMove Tap rule is the mouse-look of a shooting mode, which does nothing "
                             "without '# ENABLE_SHOOTING_MODE' at the top of the file");
            } else if (rule.keys == KeySet{kKeyLeftClick} && config.GetActions(KeySet{kKeyMouseMove}).size() != 0) {
                warnings.Add(rule.line, "shooting-mode-off",
                             "a LeftClick Tap rule beside a MouseMove Tap rule is the fire button of a shooting "
                             "mode, which does nothing without '# ENABLE_SHOOTING_MODE' at the top of the file");
            }
        }
    }
}

}  // namespace Keyweave::Diagnostics
