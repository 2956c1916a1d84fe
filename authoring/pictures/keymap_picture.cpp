#include "pictures/keymap_picture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "actions/actions.h"
#include "codes/control_names.h"
#include "codes/key_names.h"
#include "common/printf.h"
#include "common/screen_size.h"
#include "keymap/keymap_load.h"
#include "pictures/binding_shapes.h"
#include "pictures/picture_canvas.h"

namespace Keyweave::Tool {

using enum ActionType;

namespace {

struct Binding {
    std::string keys;
    const Action* action;
};

struct LegendLine {
    std::string keys;    // empty: not a binding (a note on the keymap's modes)
    std::string action;  // data-action
    std::string text;
};

std::string PadLabel(uint32_t control) {
    const char* name = GamePad::ControlNameOf(control);
    return std::string("Pad ") + (name != nullptr ? name : Printf("%08x", control).c_str());
}

std::string ControllerLabel(uint32_t code) {
    switch (code) {
        case 'u':
            return "Controller Up";
        case 'd':
            return "Controller Down";
        case 'l':
            return "Controller Left";
        case 'r':
            return "Controller Right";
        default:
            return Printf("Controller %c", static_cast<char>(code));
    }
}

std::vector<Binding> CollectBindings(const Config& config) {
    std::vector<Binding> bindings;
    for (const auto& [keys, actions] : config.mKeyRules) {
        const std::string label = KeySetLabel(keys);
        for (const Action* action : actions) bindings.push_back({label, action});
    }
    for (const auto& [control, action] : config.mGamePadActions) bindings.push_back({PadLabel(control), action});
    return bindings;
}

std::string ModesText(const Config& config) {
    std::vector<std::string> modes;
    if (config.mEnableShootingMode != 0)
        modes.push_back(Printf("shooting mode %u", static_cast<uint32_t>(config.mShootingModeType)));
    if (config.mAlwaysSendUnmappedKey) modes.emplace_back("mapped keys also reach the game");
    if (config.mMultiKeyAware) modes.emplace_back("key combinations (single keys act 100 ms late)");
    if (config.mEnableDynamicDpad != 0) modes.emplace_back("dynamic direction pad");
    if (config.mEnableDynamicZoom != 0) modes.emplace_back("dynamic zoom");
    if (config.mShowCursor) modes.emplace_back("cursor shown with a game pad");
    std::string text;
    for (const std::string& mode : modes) text += (text.empty() ? "Modes: " : "; ") + mode;
    return text;
}

// The direction pads: one ring and cross per centre and radius, under the
// arms that the pad's keys draw.
void DrawPadRings(PictureCanvas& canvas, const std::vector<Binding>& bindings) {
    std::map<std::tuple<float, float, float>, bool> drawn;
    for (const Binding& binding : bindings) {
        if (binding.action->type != kSwipeHoldAction) continue;
        const auto& key = static_cast<const SwipeHoldAction&>(*binding.action);
        if (!drawn.emplace(std::make_tuple(key.point.x, key.point.y, key.radius), true).second) continue;
        const double x = canvas.X(key.point.x), y = canvas.Y(key.point.y);
        const double rx = canvas.X(key.radius), ry = canvas.Y(key.radius * 1.6f);
        canvas.svg().Open("g", {{"class", "dpad"}});
        canvas.Ellipse(x, y, rx, ry, Colours::kPad, true);
        canvas.Line(x - rx, y, x + rx, y, Colours::kArea, false, true);
        canvas.Line(x, y - ry, x, y + ry, Colours::kArea, false, true);
        canvas.Circle(x, y, canvas.Unit() * 0.5, Colours::kPad, true);
        canvas.svg().Close();
    }
}

void DrawArea(PictureCanvas& canvas, const OpenSensorArea& area, const char* name, const Config& config) {
    if (!area.enabled) return;
    canvas.svg().Open("g", {{"class", "area"}, {"data-name", name}});
    const double x = canvas.X(area.x), y = canvas.Y(area.y);
    const double w = canvas.X(area.width), h = canvas.Y(area.height);
    canvas.Rectangle(x, y, w, h, Colours::kArea, true);
    canvas.Label(x + w / 2, y + canvas.Unit() * 1.2, std::string(name) + ": " + config.Translate(area.label),
                 Colours::kText, 0.8);
    canvas.svg().Close();
}

void DrawScreenCentre(PictureCanvas& canvas, const ScreenAction& centre) {
    canvas.svg().Open("g", {{"class", "screen-centre"}});
    const double x = canvas.X(centre.point.x), y = canvas.Y(centre.point.y);
    canvas.CrossHair(x, y, Colours::kArea);
    canvas.Label(x, y + canvas.Unit() * 2.6, "screen centre", Colours::kArea, 0.7);
    canvas.svg().Close();
}

void OpenBinding(SvgWriter& svg, const std::string& keys, const std::string& kind, const std::string& title) {
    svg.Open("g", {{"class", "binding"}, {"data-keys", keys}, {"data-action", kind}});
    svg.Text("title", {}, title);
}

std::vector<LegendLine> OtherBindings(const Config& config) {
    std::vector<LegendLine> lines;
    for (const auto& [control, key] : config.mGamePadKeys) {
        lines.push_back({PadLabel(control), "PadKey", std::string("key ") + KeyNameOf(key)});
    }
    if (config.mGamePadTilt) lines.push_back({"Pad LeftStick", "PadTilt", "tilts the device"});
    for (const auto& [code, key] : config.mControllerKeys) {
        std::string text = std::string("key ") + KeyNameOf(key);
        const auto label = config.mControllerLabels.find(code);
        if (label != config.mControllerLabels.end() && !label->second.empty()) {
            text += ", labelled \"" + config.Translate(label->second) + "\"";
        }
        lines.push_back({ControllerLabel(code), "ControllerButton", text});
    }
    return lines;
}

// Keys, tilts, pinches and the like have no point of their own, nor has a
// trace or a macro without points: they are listed under the screen.
bool HasPlaceOnScreen(const Action& action) {
    switch (action.type) {
        case kKeyAction:
        case kAbsoluteTiltAction:
        case kRelativeTiltAction:
        case kSuspendShootAction:
        case kPinchAction:
        case kMouseAction:
            return false;
        case kSwipeTraceAction:
            return !static_cast<const SwipeTraceAction&>(action).points.empty();
        case kTapsMacroAction:
            return !static_cast<const TapsMacroAction&>(action).taps.empty();
        case kScreenAction:
        case kTapAction:
        case kSwipeAction:
        case kSwipeActionXY:
        case kSwipeHoldAction:
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
            return true;
    }
    return true;  // a tag no keymap makes
}

// One line per legend entry from `top` down; a line with keys is a binding of its own.
void DrawLegend(SvgWriter& svg, const std::vector<LegendLine>& legend, double unit, double top, double lineHeight) {
    double y = top;
    for (const LegendLine& line : legend) {
        const SvgAttributes text = {{"x", SvgNumber(unit * 0.5)},
                                    {"y", SvgNumber(y)},
                                    {"font-size", SvgNumber(unit * 0.9)},
                                    {"font-family", "sans-serif"},
                                    {"fill", Colours::kText}};
        if (line.keys.empty()) {
            svg.Text("text", text, line.text);
        } else {
            OpenBinding(svg, line.keys, line.action, line.keys + ": " + line.text);
            svg.Text("text", text, line.keys + ": " + line.text);
            svg.Close();
        }
        y += lineHeight;
    }
}

}  // namespace

std::string DrawKeymap(const Config& config, const KeymapPictureOptions& options) {
    const ScreenSize screen = options.screen;
    const std::vector<Binding> bindings = CollectBindings(config);
    const double unit = PictureCanvas::UnitFor(screen);
    const double header = unit * 2.4;
    const double lineHeight = unit * 1.4;

    // Bindings without a place on the screen go to the legend.
    std::vector<LegendLine> legend;
    const std::string modes = ModesText(config);
    if (!modes.empty()) legend.push_back({"", "", modes});
    std::vector<const Binding*> onScreen;
    for (const Binding& binding : bindings) {
        if (HasPlaceOnScreen(*binding.action)) {
            onScreen.push_back(&binding);
        } else {
            legend.push_back({binding.keys, ActionKind(*binding.action), LegendText(*binding.action)});
        }
    }
    for (LegendLine& line : OtherBindings(config)) legend.push_back(std::move(line));

    const double legendHeight = legend.empty() ? 0.0 : lineHeight * (static_cast<double>(legend.size()) + 1.0);
    SvgWriter svg(screen.width, header + screen.height + legendHeight);
    PictureCanvas::WriteDefinitions(svg, unit);
    svg.Empty("rect", {{"x", "0"},
                       {"y", "0"},
                       {"width", SvgNumber(screen.width)},
                       {"height", SvgNumber(header + screen.height + legendHeight)},
                       {"fill", "#ffffff"}});
    svg.Text("text",
             {{"x", SvgNumber(unit * 0.5)},
              {"y", SvgNumber(header * 0.65)},
              {"font-size", SvgNumber(unit)},
              {"font-family", "sans-serif"},
              {"fill", Colours::kText}},
             options.title + Printf("  (%dx%d)", screen.width, screen.height));

    svg.Open("g", {{"class", "guest-screen"}, {"transform", "translate(0," + SvgNumber(header) + ")"}});
    PictureCanvas canvas(svg, screen);
    canvas.DrawScreen();
    if (!options.background.empty()) {
        svg.Empty("image", {{"class", "background"},
                            {"x", "0"},
                            {"y", "0"},
                            {"width", SvgNumber(screen.width)},
                            {"height", SvgNumber(screen.height)},
                            {"preserveAspectRatio", "none"},
                            {"href", options.background}});
    }
    DrawArea(canvas, config.mArea1, "Area1", config);
    DrawArea(canvas, config.mArea2, "Area2", config);
    if (const ScreenAction* centre = config.ScreenCenter()) DrawScreenCentre(canvas, *centre);
    DrawPadRings(canvas, bindings);
    float stretch = static_cast<float>(screen.width) / static_cast<float>(screen.height);
    if (const ScreenAction* centre = config.ScreenCenter()) stretch = centre->radius;
    std::map<std::pair<long, long>, int> crowds;  // bindings so far per anchor, to the pixel
    std::vector<ShapeContext> contexts(onScreen.size(), ShapeContext{stretch});
    for (size_t i = 0; i < onScreen.size(); ++i) {
        Point anchor;
        if (AnchorOf(*onScreen[i]->action, anchor)) {
            contexts[i].crowd = crowds[{std::lround(canvas.X(anchor.x)), std::lround(canvas.Y(anchor.y))}]++;
        }
    }
    // Mouse-look's cross-hair and fire circle lie on the dots of the taps it
    // names (MouseMove, LeftClick): drawn under everything else, they leave
    // those taps' keys readable on top.
    const auto draw = [&](bool mouseLook) {
        for (size_t i = 0; i < onScreen.size(); ++i) {
            const Binding& binding = *onScreen[i];
            if ((binding.action->type == kShootModeAction) != mouseLook) continue;
            OpenBinding(svg, binding.keys, ActionKind(*binding.action),
                        binding.keys + ": " + binding.action->Describe());
            DrawBindingShape(canvas, *binding.action, binding.keys, contexts[i]);
            svg.Close();
        }
    };
    draw(true);
    draw(false);
    svg.Close();

    DrawLegend(svg, legend, unit, header + screen.height + lineHeight, lineHeight);
    return svg.Finish();
}

}  // namespace Keyweave::Tool
