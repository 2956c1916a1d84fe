// QtScrcpy keymaps: one JSON object, positions in fractions of the screen,
// keys named after Qt's key enumeration.

#include <algorithm>
#include <cmath>
#include <vector>

#include "import/import_keymap.h"

namespace Keyweave::Tool::Import {
namespace {

// QtScrcpy's speed ratio divides the mouse's movement, so a greater ratio is
// slower than kLookSensitivity.
// QtScrcpy's legacy single ratio moves the vertical axis by ratio / 2.25.
constexpr double kLegacyVertical = 2.25;
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
    std::string key = KeyFromQt(name);
    if (key.empty()) keymap.Drop(Label(node), "'" + name + "' has no Keyweave key name");
    return key;
}

void Click(const Json& node, bool mouseLook, Keymap& keymap) {
    const std::string key = KeyOf(node, "key", keymap);
    if (key.empty()) return;
    if (key == "LeftClick" && !mouseLook) {
        keymap.Drop(Label(node),
                    "the left button taps only as the fire button of mouse-look, and this keymap "
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
    if (keymap.Rule(key + " = Tap " + Tuple({spot.x, spot.y}), StringField(node, "comment"))) keymap.Count();
}

void ClickTwice(const Json& node, Keymap& keymap) {
    const std::string key = KeyOf(node, "key", keymap);
    if (key.empty()) return;
    const Spot spot = Position(node, "pos");
    if (keymap.Rule(key + " = TapTap " + Tuple({spot.x, spot.y, spot.x, spot.y}), StringField(node, "comment"))) {
        keymap.Count();
    }
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
        values +=
            (values.empty() ? "" : ",") + Num(spot.x) + "," + Num(spot.y) + "," + Num(std::max(0.0, std::round(pause)));
    }
    const double first = NumberField(clicks[0], "delay", 0);
    if (first > 0) keymap.DropField(Label(node) + " first delay " + Num(first) + " ms", "the first tap comes at once");
    if (keymap.Rule(key + " = TapMacros (" + values + ",1)", StringField(node, "comment"))) keymap.Count();
}

void Drag(const Json& node, Keymap& keymap) {
    const std::string key = KeyOf(node, "key", keymap);
    if (key.empty()) return;
    const Spot from = Position(node, "startPos");
    const Spot to = Position(node, "endPos");
    if (const double speed = NumberField(node, "dragSpeed", 1); speed != 1) {
        keymap.DropField(Label(node) + " dragSpeed " + Num(speed), "a SwipeXY always takes 100 ms");
    }
    if (const double delay = NumberField(node, "startDelay", 0); delay != 0) {
        keymap.DropField(Label(node) + " startDelay " + Num(delay) + " ms", "a SwipeXY starts at once");
    }
    if (keymap.Rule(key + " = SwipeXY " + Tuple({from.x, from.y, to.x, to.y}), StringField(node, "comment"))) {
        keymap.Count();
    }
}

// Four SwipeHold rules around one centre. The offsets are fractions of the
// width (left, right) and of the height (up, down); the pad has one reach.
void SteerWheel(const Json& node, Keymap& keymap) {
    const Spot centre = Position(node, "centerPos");
    const auto offset = [&](const char* name) { return NumberField(node, name, 0.1) * 100; };
    const double radius = PadReach("KMT_STEER_WHEEL", offset("leftOffset"), offset("rightOffset"), offset("upOffset"),
                                   offset("downOffset"), keymap);
    const char* const kDirections[][2] = {
        {"upKey", "Up"}, {"downKey", "Down"}, {"leftKey", "Left"}, {"rightKey", "Right"}};
    bool any = false;
    for (const auto& direction : kDirections) {
        const std::string name = StringField(node, direction[0]);
        const std::string key = KeyFromQt(name);
        if (key.empty()) {
            keymap.DropField("KMT_STEER_WHEEL " + std::string(direction[0]) + " '" + name + "'",
                             "no Keyweave key name");
            continue;
        }
        const std::string rule = key + " = SwipeHold " + direction[1] + " " + Tuple({centre.x, centre.y, radius});
        if (keymap.Rule(rule, any ? "" : StringField(node, "comment"), true)) any = true;
    }
    any ? keymap.Count() : keymap.Drop("KMT_STEER_WHEEL", "none of its keys is left to bind");
}

// The key names the mappings bind, so that mouse-look takes a free one.
std::vector<std::string> UsedKeys(const Json& nodes) {
    std::vector<std::string> keys;
    for (const Json& node : nodes) {
        for (const char* field : {"key", "leftKey", "rightKey", "upKey", "downKey"}) {
            if (const std::string key = KeyFromQt(StringField(node, field)); !key.empty()) keys.push_back(key);
        }
    }
    return keys;
}

// QtScrcpy's mouse-look is on whenever its keymap is, and the switch key
// turns both on and off: here the switch key turns mouse-look on and off
// (the host decides when the keymap is on). When a mapping binds that key,
// or it has no Keyweave name, the right button does, as Keyweave's own
// mouse-look; when both are bound, mouse-look is dropped. The sensitivity
// is 35 / speedRatioX, or 35 / speedRatio in older files without it.
bool MouseLook(const Json& root, const Json& look, const Json& nodes, Keymap& keymap) {
    const Spot aim = Position(look, "startPos");
    const std::vector<std::string> used = UsedKeys(nodes);
    const auto free = [&](const std::string& key) {
        return !key.empty() && std::find(used.begin(), used.end(), key) == used.end();
    };
    const std::string switchName = StringField(root, "switchKey");
    const std::string switchKey = KeyFromQt(switchName);
    const std::string key = free(switchKey) ? switchKey : free("RightClick") ? "RightClick" : "";
    if (!switchName.empty() && key != switchKey) {
        keymap.DropField("switchKey " + switchName, "the host decides when mapping is on");
    }
    if (key.empty()) {
        keymap.Drop("mouseMoveMap", "no key is left to switch it: the switch key and the right button are bound");
        return false;
    }
    const bool split = Field(look, "speedRatioX").is_number() || Field(look, "speedRatioY").is_number();
    double ratio = split ? NumberField(look, "speedRatioX", 1) : NumberField(look, "speedRatio", 1);
    if (ratio <= 0) ratio = 1;
    if (split && Field(look, "speedRatio").is_number()) {
        keymap.DropField("mouseMoveMap speedRatio " + Num(NumberField(look, "speedRatio", 0)),
                         "speedRatioX takes its place");
    }
    if (const double vertical = NumberField(look, "speedRatioY", ratio / kLegacyVertical);
        Num(vertical) != Num(ratio / kLegacyVertical)) {
        keymap.DropField("mouseMoveMap speedRatioY " + Num(vertical),
                         "one sensitivity serves both axes, from speedRatioX");
    }
    const double sensitivity = Clamp(std::round(kLookSensitivity / ratio), 1, 100);
    const Json* fire = nullptr;
    for (const Json& node : nodes) {
        if (StringField(node, "type") == "KMT_CLICK" && StringField(node, "key") == "LeftButton") fire = &node;
    }
    keymap.UseShootingMode();
    const std::string toggle = key == switchKey ? "toggled by the switch key" : "toggled by the right button";
    bool written = false;
    if (fire != nullptr) {
        const Spot shot = Position(*fire, "pos");
        written = keymap.Rule(key + " = ShootMode " + Tuple({aim.x, aim.y, shot.x, shot.y, sensitivity}),
                              "mouse-look, " + toggle + "; the left button fires");
    } else {
        written = keymap.Rule(key + " = ShootMove " + Tuple({aim.x, aim.y, sensitivity}), "mouse-look, " + toggle);
    }
    if (written) keymap.Count();
    // The small eyes: while its key is held, a finger at its point follows the mouse.
    const Json& eyes = Field(look, "smallEyes");
    if (eyes.is_object()) {
        const std::string eyesKey = KeyFromQt(StringField(eyes, "key"));
        if (eyesKey.empty()) {
            keymap.Drop("mouseMoveMap smallEyes", "'" + StringField(eyes, "key") + "' has no Keyweave key name");
        } else if (const Spot spot = Position(eyes, "pos");
                   keymap.Rule(eyesKey + " = TouchMove " + Tuple({spot.x, spot.y}), "free look while held")) {
            keymap.Count();
        }
    }
    return written;
}

}  // namespace

bool FromQtScrcpy(const Json& root, Keymap& keymap, std::string& error) {
    const Json& nodes = Field(root, "keyMapNodes");
    if (!nodes.is_array()) {
        error = "Cannot import: no keyMapNodes array in this QtScrcpy keymap";
        return false;
    }
    const Json& look = Field(root, "mouseMoveMap");
    const bool mouseLook = look.is_object() && MouseLook(root, look, nodes, keymap);
    if (!look.is_object() && !Field(root, "switchKey").is_null()) {
        keymap.DropField("switchKey " + StringField(root, "switchKey"), "the host decides when mapping is on");
    }
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
