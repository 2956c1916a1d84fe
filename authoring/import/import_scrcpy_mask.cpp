// scrcpy-mask keymaps, both forms: the older array of profiles (entries with
// posX, posY and browser key codes) and the current object with "mappings"
// (positions {x, y}, binds as arrays of keys pressed together). Positions are
// pixels of the keymap's own screen size.

#include <algorithm>

#include "import/import_keymap.h"

namespace Keyweave::Tool::Import {
namespace {

struct Screen {
    double width;
    double height;
};

class MaskConverter {
public:
    MaskConverter(Screen screen, Keymap& keymap) : screen_(screen), keymap_(keymap) {}

    Spot At(double x, double y) const { return {x / screen_.width * 100, y / screen_.height * 100}; }
    Spot Older(const Json& entry) const {
        return At(NumberField(entry, "posX", screen_.width / 2), NumberField(entry, "posY", screen_.height / 2));
    }
    Spot Current(const Json& position) const {
        return At(NumberField(position, "x", screen_.width / 2), NumberField(position, "y", screen_.height / 2));
    }
    double Radius(double pixels) const { return Clamp(pixels / screen_.width * 100, 0, 50); }
    // A pad's reach from its offsets in pixels, sideways and up and down.
    double Reach(const std::string& what, double sideways, double upDown) {
        const double x = sideways / screen_.width * 100;
        const double y = upDown / screen_.height * 100;
        return PadReach(what, x, x, y, y, keymap_);
    }

    // The keys of a bind (a string, or an array pressed together): "A" or
    // "Ctrl,A"; "" after dropping the mapping `what`.
    // Within a pad, `part` says one direction is dropped, not the mapping.
    std::string Keys(const Json& bind, const std::string& what, bool part = false) {
        const auto drop = [&](const std::string& why) {
            part ? keymap_.DropField(what, why) : keymap_.Drop(what, why);
        };
        std::vector<std::string> names;
        if (bind.is_string()) names.push_back(bind.get<std::string>());
        if (bind.is_array()) {
            for (const Json& name : bind) names.push_back(name.is_string() ? name.get<std::string>() : "");
        }
        if (names.empty()) {
            drop("it has no key");
            return "";
        }
        if (names.size() > 2) {
            drop("the engine runs one key or two held together, not " + std::to_string(names.size()));
            return "";
        }
        std::string keys;
        for (const std::string& name : names) {
            if (name.starts_with("G-")) {
                drop("game-pad binds have no counterpart here: bind the pad in [gamepad]");
                return "";
            }
            const std::string key = KeyFromBrowser(name);
            if (key.empty()) {
                drop("'" + name + "' has no Keyweave key name");
                return "";
            }
            keys += (keys.empty() ? "" : ",") + key;
        }
        return keys;
    }

    void Rule(const std::string& keys, const std::string& action, const std::string& note) {
        if (action.ends_with("()") || action.ends_with("(,1)")) {  // a path or macro without points
            keymap_.Drop(keys + " = " + action, "it has no points");
            return;
        }
        if (keymap_.Rule(keys + " = " + action, note)) keymap_.Count();
    }

    // Four SwipeHold rules around one centre; `keys` holds up, down, left, right.
    void Pad(const std::string& what, Spot centre, double radius, const Json& directions, const std::string& note) {
        static const char* const kDirections[][2] = {
            {"up", "Up"}, {"down", "Down"}, {"left", "Left"}, {"right", "Right"}};
        std::string rules;
        for (const auto& direction : kDirections) {
            const std::string keys = Keys(Field(directions, direction[0]), what + " " + direction[0], true);
            if (keys.empty()) continue;
            if (keymap_.Rule(keys + " = SwipeHold " + direction[1] + " " + Tuple({centre.x, centre.y, radius}),
                             rules.empty() ? note : "", true)) {
                rules += direction[1];
            }
        }
        rules.empty() ? keymap_.Drop(what, "none of its keys is left to bind") : keymap_.Count();
    }

    // Mouse-look: ShootMode with the fire button's point when there is one.
    // The sensitivity is 35 (the engine's own) times the horizontal scale; a
    // vertical scale of its own is named as dropped.
    void Look(const std::string& what, const std::string& keys, Spot aim, const Json* fire, Spot shot, double scale,
              double vertical, const std::string& note) {
        if (Num(vertical) != Num(scale)) {
            keymap_.DropField(what + " vertical scale " + Num(vertical), "one sensitivity serves both axes");
        }
        const double sensitivity = Clamp(std::round(kLookSensitivity * (scale > 0 ? scale : 1)), 1, 100);
        keymap_.UseShootingMode();
        if (fire != nullptr) {
            Rule(keys, "ShootMode " + Tuple({aim.x, aim.y, shot.x, shot.y, sensitivity}), note);
        } else {
            Rule(keys, "ShootMove " + Tuple({aim.x, aim.y, sensitivity}), note);
        }
    }

    // Taps with waits: the pause after a tap is the wait before the next.
    std::string Macro(const Json& items, const char* positionField, const char* waitField, bool older) const {
        std::string values;
        for (size_t i = 0; i < items.size(); ++i) {
            const Spot spot = older ? Older(items[i]) : Current(Field(items[i], positionField));
            const double pause = i + 1 < items.size() ? NumberField(items[i + 1], waitField, 0) : 0;
            values += (values.empty() ? "" : ",") + Num(spot.x) + "," + Num(spot.y) + "," +
                      Num(std::max(0.0, std::round(pause)));
        }
        return "TapMacros (" + values + ",1)";
    }

    std::string Trace(const Json& points) const {
        std::string values;
        for (const Json& point : points) {
            const Spot spot = Current(point);
            values += (values.empty() ? "" : ",") + Num(spot.x) + "," + Num(spot.y);
        }
        return "SwipeTrace (" + values + ")";
    }

    Keymap& keymap() { return keymap_; }

private:
    Screen screen_;
    Keymap& keymap_;
};

// An older scrcpy-mask skill's range is a share of the screen in percent,
// not pixels: TapSwipe's radius, in percent of the width, at most 50.
double SkillRange(const std::string& what, double range, Keymap& keymap) {
    if (range > 50) keymap.DropField(what + " range " + Num(range), "a skill's radius is at most 50");
    return Clamp(range, 0, 50);
}

// The fields of `entry` that it has, named in one "# dropped:" line.
void DropPresent(const Json& entry, const std::string& what, std::initializer_list<const char*> fields,
                 const std::string& why, Keymap& keymap) {
    std::string present;
    size_t count = 0;
    for (const char* field : fields) {
        if (Field(entry, field).is_null()) continue;
        present += (count++ == 0 ? " " : ", ") + std::string(field);
    }
    if (count > 0) keymap.DropField(what + present, why, count);
}

const Json* FindType(const Json& list, const char* type) {
    for (const Json& entry : list) {
        if (StringField(entry, "type") == type) return &entry;
    }
    return nullptr;
}

void NoticeCommonFields(const Json& entry, Keymap& keymap) {
    if (!Field(entry, "pointerId").is_null() || !Field(entry, "pointer_id").is_null()) {
        keymap.Notice("pointer ids", "the engine picks its own touch slots");
    }
    if (!Field(entry, "time").is_null() || !Field(entry, "duration").is_null()) {
        keymap.Notice("tap durations", "a finger stays down as long as its key is held");
    }
    for (const char* name : {"random_offset", "random_offset_x", "random_offset_y", "randomOffset"}) {
        if (!Field(entry, name).is_null()) keymap.Notice("random offsets", "the engine touches where it is told");
    }
}

void ConvertOlder(const Json& entry, const Json& list, MaskConverter& to) {
    const std::string type = StringField(entry, "type");
    const std::string what = type + (Field(entry, "key").is_string() ? " on " + StringField(entry, "key") : "");
    Keymap& keymap = to.keymap();
    NoticeCommonFields(entry, keymap);
    if (type == "Fire") {
        if (FindType(list, "Sight") == nullptr) {
            keymap.Drop(what, "it fires only in mouse-look, and there is no Sight");
            return;
        }
        keymap.Count();  // the fire point of the Sight's rule
        DropPresent(entry, what, {"scaleX", "scaleY", "drag"}, "aiming while firing moves as mouse-look does", keymap);
        return;
    }
    if (type == "Macro") {
        keymap.Drop(what, "macros are scripts, which a keymap cannot hold");
        return;
    }
    if (type == "SteeringWheel") {
        const double offset = NumberField(entry, "offset", 0);
        to.Pad(what, to.Older(entry), to.Reach(what, offset, offset), Field(entry, "key"), "");
        return;
    }
    const std::string keys = to.Keys(Field(entry, "key"), what);
    if (keys.empty()) return;
    const Spot spot = to.Older(entry);
    const std::string tap = "Tap " + Tuple({spot.x, spot.y});
    if (type == "Tap" || type == "DirectionlessSkill") {
        to.Rule(keys, tap, "");
    } else if (type == "DirectionalSkill") {
        to.Rule(keys, "TapSwipe " + Tuple({spot.x, spot.y, SkillRange(what, NumberField(entry, "range", 0), keymap)}),
                "");
    } else if (type == "TriggerWhenPressedSkill") {
        const bool directional = Field(entry, "directional").is_boolean() && Field(entry, "directional").get<bool>();
        keymap.DropField(what + " trigger on press", "the skill is cast when the key is released");
        const double range = NumberField(entry, "rangeOrTime", 0);
        if (!directional)
            keymap.DropField(what + " time " + Num(range) + " ms", "a tap lasts as long as its key is held");
        to.Rule(keys, directional ? "TapSwipe " + Tuple({spot.x, spot.y, SkillRange(what, range, keymap)}) : tap, "");
    } else if (type == "CancelSkill") {
        to.Rule(keys, "TapCancel " + Tuple({spot.x, spot.y}), "");
    } else if (type == "Observation") {
        keymap.DropField(what + " scale", "the finger follows the mouse one to one");
        to.Rule(keys, "TouchMove " + Tuple({spot.x, spot.y}), "");
    } else if (type == "Sight") {
        const Json* fire = FindType(list, "Fire");
        to.Look(what, keys, spot, fire, fire != nullptr ? to.Older(*fire) : spot, NumberField(entry, "scaleX", 1),
                NumberField(entry, "scaleY", NumberField(entry, "scaleX", 1)), "mouse-look on and off");
    } else if (type == "Swipe") {
        const Json& points = Field(entry, "pos");
        if (NumberField(entry, "intervalBetweenPos", 10) != 10) {
            keymap.DropField(what + " intervalBetweenPos", "a SwipeTrace moves every 10 ms");
        }
        to.Rule(keys, to.Trace(points.is_array() ? points : Json::array()), "");
    } else {
        keymap.Drop(what, "an unknown mapping type");
    }
}

void ConvertCurrent(const Json& mapping, const Json& list, MaskConverter& to) {
    const std::string type = StringField(mapping, "type");
    const std::string what = type + (Field(mapping, "id").is_null() ? "" : " " + Field(mapping, "id").dump());
    const std::string note = StringField(mapping, "note");
    Keymap& keymap = to.keymap();
    NoticeCommonFields(mapping, keymap);
    if (type == "RawInput" || type == "Script" || type == "PadCastSpell") {
        keymap.Drop(what, type == "PadCastSpell" ? "game-pad binds have no counterpart here"
                                                 : "it has no keymap counterpart (raw input and scripts)");
        return;
    }
    if (type == "Fire") {
        if (FindType(list, "Fps") == nullptr) {
            keymap.Drop(what, "it fires only in mouse-look, and there is no Fps");
            return;
        }
        keymap.Count();  // the fire point of the Fps rule
        DropPresent(mapping, what, {"sensitivity_x", "sensitivity_y"}, "aiming while firing moves as mouse-look does",
                    keymap);
        return;
    }
    const Json& bind = Field(mapping, "bind");
    const Spot spot = to.Current(Field(mapping, "position"));
    if (type == "DirectionPad") {
        if (StringField(bind, "type") != "Button") {
            keymap.Drop(what, "a pad bound to a game-pad stick has no counterpart here");
            return;
        }
        DropPresent(mapping, what, {"up_boost_key", "up_boost_scale"}, "no counterpart", keymap);
        if (!Field(mapping, "initial_duration").is_null()) {
            keymap.DropField(what + " initial_duration", "the pad glides to its direction in 90 ms");
        }
        to.Pad(what, spot,
               to.Reach(what, NumberField(mapping, "max_offset_x", 0), NumberField(mapping, "max_offset_y", 0)), bind,
               note);
        return;
    }
    const std::string keys = to.Keys(bind, what);
    if (keys.empty()) return;
    if (type == "SingleTap") {
        to.Rule(keys, "Tap " + Tuple({spot.x, spot.y}), note);
    } else if (type == "RepeatTap") {
        keymap.DropField(what + " repeat while held", "no counterpart: it taps once and holds");
        to.Rule(keys, "Tap " + Tuple({spot.x, spot.y}), note);
    } else if (type == "MultipleTap") {
        const Json& items = Field(mapping, "items");
        to.Rule(keys, to.Macro(items.is_array() ? items : Json::array(), "position", "wait", false), note);
    } else if (type == "Swipe") {
        const Json& points = Field(mapping, "positions");
        to.Rule(keys, to.Trace(points.is_array() ? points : Json::array()), note);
    } else if (type == "MouseCastSpell") {
        DropPresent(mapping, what, {"center", "cast_radius"},
                    "the aim is measured from the middle of the screen; the mouse 45 % of the screen away reaches "
                    "the rim",
                    keymap);
        to.Rule(keys, "TapSwipe " + Tuple({spot.x, spot.y, to.Radius(NumberField(mapping, "drag_radius", 0))}), note);
    } else if (type == "CancelCast") {
        to.Rule(keys, "TapCancel " + Tuple({spot.x, spot.y}), note);
    } else if (type == "Observation") {
        DropPresent(mapping, what, {"sensitivity_x", "sensitivity_y", "max_radius"},
                    "the finger follows the mouse one to one", keymap);
        to.Rule(keys, "TouchMove " + Tuple({spot.x, spot.y}), note);
    } else if (type == "Fps") {
        const Json* fire = FindType(list, "Fire");
        DropPresent(mapping, what, {"max_offset_x", "max_offset_y", "touch_mode"},
                    "the look finger goes as far as the mouse takes it", keymap);
        to.Look(what, keys, spot, fire, fire != nullptr ? to.Current(Field(*fire, "position")) : spot,
                NumberField(mapping, "sensitivity_x", 1),
                NumberField(mapping, "sensitivity_y", NumberField(mapping, "sensitivity_x", 1)),
                note.empty() ? "mouse-look on and off" : note);
    } else {
        keymap.Drop(what, "an unknown mapping type");
    }
}

}  // namespace

bool FromScrcpyMask(const Json& root, const Options& options, Keymap& keymap, std::vector<std::string>& notes,
                    std::string& error) {
    const Screen fallback{static_cast<double>(options.screen.width), static_cast<double>(options.screen.height)};
    if (root.is_object()) {
        const Json& size = Field(root, "original_size");
        const Screen screen{NumberField(size, "width", fallback.width), NumberField(size, "height", fallback.height)};
        const Json& mappings = Field(root, "mappings");
        if (!mappings.is_array() || screen.width <= 0 || screen.height <= 0) {
            error = "Cannot import: no mappings array or no usable original_size in this scrcpy-mask keymap";
            return false;
        }
        MaskConverter to(screen, keymap);
        for (const Json& mapping : mappings) ConvertCurrent(mapping, mappings, to);
        return true;
    }
    if (!root.is_array() || root.empty()) {
        error = root.is_array() ? "Cannot import: an empty list of scrcpy-mask profiles"
                                : "Cannot import: this JSON is no QtScrcpy or scrcpy-mask keymap";
        return false;
    }
    const Json* chosen = options.profile.empty() ? &root[0] : nullptr;
    std::string titles;
    for (const Json& profile : root) {
        const std::string title = StringField(profile, "title");
        titles += (titles.empty() ? "" : ", ") + title;
        if (chosen == nullptr && title == options.profile) chosen = &profile;
    }
    if (chosen == nullptr) {
        error = "Cannot import: no profile named '" + options.profile + "' (profiles: " + titles + ")";
        return false;
    }
    std::string others;
    for (const Json& profile : root) {
        if (&profile != chosen) others += (others.empty() ? "" : ", ") + StringField(profile, "title");
    }
    notes.push_back("converted profile '" + StringField(*chosen, "title") + "'" +
                    (others.empty() ? "" : "; other profiles: " + others + " (choose one with --profile NAME)"));
    const Json& size = Field(*chosen, "relativeSize");
    const Screen screen{NumberField(size, "w", fallback.width), NumberField(size, "h", fallback.height)};
    const Json& list = Field(*chosen, "list");
    if (!list.is_array() || screen.width <= 0 || screen.height <= 0) {
        error = "Cannot import: the profile has no list or no usable relativeSize";
        return false;
    }
    MaskConverter to(screen, keymap);
    for (const Json& entry : list) ConvertOlder(entry, list, to);
    return true;
}

}  // namespace Keyweave::Tool::Import
