// QtScrcpy keymaps: one JSON object, positions in fractions of the screen,
// keys named after Qt's key enumeration.

#include <algorithm>

#include "keyweave/import_keymap.h"

namespace Keyweave::Tool::Import {
namespace {

// The engine's own mouse-look sensitivity is 35 (percent); QtScrcpy's
// speedRatio divides the mouse's movement, so a greater ratio is slower.
constexpr double kLookSensitivity = 35;

Spot Position(const Json& object, const char* name) {
    const Json& pos = Field(object, name);
    return {NumberField(pos, "x", 0.5) * 100, NumberField(pos, "y", 0.5) * 100};
}

std::string Label(const Json& node) {
    const std::string type = StringField(node, "type");
    const std::string key = StringField(node, "key");
    return key.empty() ? type : type + " on " + key;
}

// The rule's key, or "" after dropping the mapping.
std::string KeyOf(const Json& node, const char* field, Keymap& keymap) {
    const std::string name = StringField(node, field);
    const std::string key = KeyFromQt(name);
    if (key.empty()) keymap.Drop(Label(node), "'" + name + "' has no Keyweave key name");
    return key;
}

void Click(const Json& node, bool mouseLook, Keymap& keymap) {
    const std::string key = KeyOf(node, "key", keymap);
    if (key.empty()) return;
    if (key == "LeftClick" && !mouseLook) {
        keymap.Drop(Label(node), "the left button taps only as the fire button of mouse-look, and this keymap "
                                 "has no mouseMoveMap");
        return;
    }
    if (key == "LeftClick") {  // the fire point of the mouse-look rule
        keymap.Count();
        return;
    }
    const Spot spot = Position(node, "pos");
    if (Field(node, "switchMap").is_boolean() && Field(node, "switchMap").get<bool>()) {
        keymap.DropField(Label(node) + " switchMap", "the host decides when the cursor is free");
    }
    keymap.Rule(key + " = Tap " + Tuple({spot.x, spot.y}), StringField(node, "comment"));
    keymap.Count();
}

void ClickTwice(const Json& node, Keymap& keymap) {
    const std::string key = KeyOf(node, "key", keymap);
    if (key.empty()) return;
    const Spot spot = Position(node, "pos");
    keymap.Rule(key + " = TapTap " + Tuple({spot.x, spot.y, spot.x, spot.y}), StringField(node, "comment"));
    keymap.Count();
}

// Taps after delays become taps with pauses between them: the pause after a
// tap is the delay before the next one.
void ClickMulti(const Json& node, Keymap& keymap) {
    const std::string key = KeyOf(node, "key", keymap);
    if (key.empty()) return;
    const Json& clicks = Field(node, "clickNodes");
    if (!clicks.is_array() || clicks.empty()) {
        keymap.Drop(Label(node), "it has no clickNodes");
        return;
    }
    std::string values;
    for (size_t i = 0; i < clicks.size(); ++i) {
        const Spot spot = Position(clicks[i], "pos");
        const double pause = i + 1 < clicks.size() ? NumberField(clicks[i + 1], "delay", 0) : 0;
        values += (values.empty() ? "" : ",") + Num(spot.x) + "," + Num(spot.y) + "," + Num(std::max(0.0, std::round(pause)));
    }
    const double first = NumberField(clicks[0], "delay", 0);
    if (first > 0) keymap.DropField(Label(node) + " first delay " + Num(first) + " ms", "the first tap comes at once");
    keymap.Rule(key + " = TapMacros (" + values + ",1)", StringField(node, "comment"));
    keymap.Count();
}

void Drag(const Json& node, Keymap& keymap) {
    const std::string key = KeyOf(node, "key", keymap);
    if (key.empty()) return;
    const Spot from = Position(node, "startPos");
    const Spot to = Position(node, "endPos");
    if (NumberField(node, "dragSpeed", 1) != 1) {
        keymap.DropField(Label(node) + " dragSpeed", "a SwipeXY always takes 100 ms");
    }
    if (NumberField(node, "startDelay", 0) != 0) {
        keymap.DropField(Label(node) + " startDelay", "a SwipeXY starts at once");
    }
    keymap.Rule(key + " = SwipeXY " + Tuple({from.x, from.y, to.x, to.y}), StringField(node, "comment"));
    keymap.Count();
}

// Four SwipeHold rules around one centre. The engine's reach is r percent of
// the width sideways and 1.6 r percent of the height up and down.
void SteerWheel(const Json& node, Keymap& keymap) {
    const Spot centre = Position(node, "centerPos");
    const double sideways = std::max(NumberField(node, "leftOffset", 0.06), NumberField(node, "rightOffset", 0.06));
    const double radius = Clamp(sideways * 100, 0, 50);
    const char* const kDirections[][2] = {{"upKey", "Up"}, {"downKey", "Down"}, {"leftKey", "Left"}, {"rightKey", "Right"}};
    bool any = false;
    for (const auto& direction : kDirections) {
        const std::string name = StringField(node, direction[0]);
        const std::string key = KeyFromQt(name);
        if (key.empty()) {
            keymap.DropField("KMT_STEER_WHEEL " + std::string(direction[0]) + " '" + name + "'",
                             "no Keyweave key name");
            continue;
        }
        keymap.Rule(key + " = SwipeHold " + direction[1] + " " + Tuple({centre.x, centre.y, radius}),
                    any ? "" : StringField(node, "comment"));
        any = true;
    }
    const double offsets[] = {NumberField(node, "leftOffset", 0.06), NumberField(node, "rightOffset", 0.06)};
    if (offsets[0] != offsets[1]) {
        keymap.DropField("KMT_STEER_WHEEL left and right offsets differ", "one reach serves every direction");
    }
    any ? keymap.Count() : keymap.Drop("KMT_STEER_WHEEL", "none of its keys has a Keyweave key name");
}

void MouseLook(const Json& look, const Json& nodes, Keymap& keymap) {
    const Spot aim = Position(look, "startPos");
    double ratio = NumberField(look, "speedRatio", 0);
    if (ratio <= 0) ratio = NumberField(look, "speedRatioX", 1);
    if (ratio <= 0) ratio = 1;
    const double sensitivity = Clamp(std::round(kLookSensitivity / ratio), 1, 100);
    const Json* fire = nullptr;
    for (const Json& node : nodes) {
        if (StringField(node, "type") == "KMT_CLICK" && StringField(node, "key") == "LeftButton") fire = &node;
    }
    keymap.UseShootingMode();
    if (fire != nullptr) {
        const Spot shot = Position(*fire, "pos");
        keymap.Rule("RightClick = ShootMode " + Tuple({aim.x, aim.y, shot.x, shot.y, sensitivity}),
                    "mouse-look, toggled by the right button; the left button fires");
    } else {
        keymap.Rule("RightClick = ShootMove " + Tuple({aim.x, aim.y, sensitivity}),
                    "mouse-look, toggled by the right button");
    }
    if (Field(look, "speedRatioY").is_number()) {
        keymap.DropField("mouseMoveMap speedRatioY", "one sensitivity serves both axes");
    }
    if (!Field(look, "smallEyes").is_null()) {
        keymap.DropField("mouseMoveMap smallEyes", "the look finger's start does not change while a key is held");
    }
    keymap.Count();
}

}  // namespace

bool FromQtScrcpy(const Json& root, Keymap& keymap, std::string& error) {
    const Json& nodes = Field(root, "keyMapNodes");
    if (!nodes.is_array()) {
        error = "Cannot import: no keyMapNodes array in this QtScrcpy keymap";
        return false;
    }
    if (!Field(root, "switchKey").is_null()) {
        keymap.DropField("switchKey " + StringField(root, "switchKey"), "the host decides when mapping is on");
    }
    const Json& look = Field(root, "mouseMoveMap");
    const bool mouseLook = look.is_object();
    if (mouseLook) MouseLook(look, nodes, keymap);
    for (const Json& node : nodes) {
        const std::string type = StringField(node, "type");
        if (type == "KMT_CLICK") {
            Click(node, mouseLook, keymap);
        } else if (type == "KMT_CLICK_TWICE") {
            ClickTwice(node, keymap);
        } else if (type == "KMT_CLICK_MULTI") {
            ClickMulti(node, keymap);
        } else if (type == "KMT_DRAG") {
            Drag(node, keymap);
        } else if (type == "KMT_STEER_WHEEL") {
            SteerWheel(node, keymap);
        } else if (type == "KMT_ANDROID_KEY") {
            keymap.Drop(Label(node), "Android key codes are the host's, not the keymap's");
        } else {
            keymap.Drop(Label(node).empty() ? "a mapping without a type" : Label(node), "an unknown mapping type");
        }
    }
    return true;
}

}  // namespace Keyweave::Tool::Import
