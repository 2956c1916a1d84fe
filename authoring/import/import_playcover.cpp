// PlayCover keymaps (.playmap): an XML property list, read as JSON, with four
// arrays of models whose transforms place them in fractions of the screen.

#include <algorithm>
#include <cmath>

#include "import/import_keymap.h"

namespace Keyweave::Tool::Import {
namespace {

struct Model {
    std::string what;  // "buttonModels 2 (E)"
    Spot spot;
    double size = 0;
};

// The model's place, or false with `error` naming the field of another type.
bool Place(const Json& model, const std::string& what, Model& out, std::string& error) {
    const Json& transform = Field(model, "transform");
    out.what = what;
    for (const char* name : {"xCoord", "yCoord", "size"}) {
        if (!Field(transform, name).is_number()) {
            error = "Cannot import: " + what + ": its transform." + name + " is missing or not a number";
            return false;
        }
    }
    out.spot = {NumberField(transform, "xCoord", 0) * 100, NumberField(transform, "yCoord", 0) * 100};
    out.size = NumberField(transform, "size", 0);
    return true;
}

// One of the four lists of models, or an empty one.
const Json& List(const Json& root, const char* name) {
    static const Json kNone = Json::array();
    const Json& list = Field(root, name);
    return list.is_array() ? list : kNone;
}

// The key of a key code field, or "" after naming what was dropped.
std::string Key(const Json& model, const char* field, const std::string& what, Keymap& keymap, bool part = false) {
    const Json& code = Field(model, field);
    std::string key = code.is_number_integer() ? KeyFromHid(code.get<long long>()) : "";
    if (key.empty()) {
        const std::string why = code.is_number_integer() ? "key code " + code.dump() + " has no Keyweave key name"
                                                         : "it has no integer " + std::string(field);
        part ? keymap.DropField(what + " " + field, why) : keymap.Drop(what, why);
    }
    return key;
}

std::string Label(const Json& model, const char* list, size_t index) {
    const std::string name = StringField(model, "keyName");
    return std::string(list) + " " + std::to_string(index + 1) + (name.empty() ? "" : " (" + name + ")");
}

// A joystick's reach: `size` is its diameter in a unit the files do not
// state, read as percent of the screen's width and kept so that the finger
// stays on the screen.
double StickReach(const Model& stick, Keymap& keymap) {
    const double inside = std::min({stick.spot.x, 100 - stick.spot.x, stick.spot.y / 1.6, (100 - stick.spot.y) / 1.6});
    const double radius = Clamp(std::min(stick.size / 2, inside), 1, 50);
    keymap.DropField(stick.what + " size " + Num(stick.size),
                     "the unit is not stated: the reach r " + Num(radius) +
                         " (half the size as percent of the width, kept on the screen) is approximate");
    return radius;
}

class PlayCoverConverter {
public:
    PlayCoverConverter(const Json& root, Keymap& keymap) : root_(root), keymap_(keymap) {}

    bool Run(std::string& error) {
        const char* const kLists[] = {"buttonModels", "draggableButtonModels", "joystickModel", "mouseAreaModel"};
        for (const char* list : kLists) {
            if (!Field(root_, list).is_null() && !Field(root_, list).is_array()) {
                error = std::string("Cannot import: ") + list + " is not an array";
                return false;
            }
            for (const Json& model : List(root_, list)) {
                if (!model.is_object()) {
                    error = std::string("Cannot import: ") + list + " holds something that is not a dictionary";
                    return false;
                }
            }
        }
        // Mouse-look first: it takes the right button unless a button uses it.
        if (!Look(error)) return false;
        const Json& buttons = List(root_, "buttonModels");
        for (size_t i = 0; i < buttons.size(); ++i) {
            if (!Button(buttons[i], Label(buttons[i], "buttonModels", i), error)) return false;
        }
        const Json& drags = List(root_, "draggableButtonModels");
        for (size_t i = 0; i < drags.size(); ++i) {
            if (&drags[i] != look_ && !Drag(drags[i], Label(drags[i], "draggableButtonModels", i), error)) return false;
        }
        const Json& sticks = List(root_, "joystickModel");
        for (size_t i = 0; i < sticks.size(); ++i) {
            if (!Stick(sticks[i], Label(sticks[i], "joystickModel", i), error)) return false;
        }
        const Json& areas = List(root_, "mouseAreaModel");
        for (size_t i = 0; i < areas.size(); ++i) {
            if (&areas[i] == look_) continue;
            Model area;
            if (!Place(areas[i], Label(areas[i], "mouseAreaModel", i), area, error)) return false;
            keymap_.Drop(area.what, "one mouse-look per keymap, and it is bound above");
        }
        return true;
    }

private:
    // A tap held while the key is held; the left button's is the fire point.
    bool Button(const Json& model, const std::string& what, std::string& error) {
        Model button;
        if (!Place(model, what, button, error)) return false;
        const std::string key = Key(model, "keyCode", what, keymap_);
        if (key.empty()) return true;
        if (key == "LeftClick") {
            if (&model == fire_) {
                keymap_.Count();  // the fire point of the mouse-look rule
            } else {
                keymap_.Drop(what, fire_ != nullptr ? "mouse-look has its fire button above"
                                                    : "the left button taps only as the fire button of mouse-look, "
                                                      "which this keymap does not have");
            }
            return true;
        }
        if (keymap_.Rule(key + " = Tap " + Tuple({button.spot.x, button.spot.y}))) keymap_.Count();
        return true;
    }

    // A finger that follows the mouse while its key is held.
    bool Drag(const Json& model, const std::string& what, std::string& error) {
        Model drag;
        if (!Place(model, what, drag, error)) return false;
        const std::string key = Key(model, "keyCode", what, keymap_);
        if (key.empty()) return true;
        if (keymap_.Rule(key + " = TouchMove " + Tuple({drag.spot.x, drag.spot.y}), "follows the mouse while held")) {
            keymap_.Count();
        }
        return true;
    }

    bool Stick(const Json& model, const std::string& what, std::string& error) {
        Model stick;
        if (!Place(model, what, stick, error)) return false;
        if (StringField(model, "keyName") != "Keyboard") {
            keymap_.Drop(what,
                         "only key pads (keyName Keyboard) have a counterpart; what this one does is not "
                         "stated");
            return true;
        }
        const double radius = StickReach(stick, keymap_);
        const char* const kDirections[][2] = {
            {"upKeyCode", "Up"}, {"downKeyCode", "Down"}, {"leftKeyCode", "Left"}, {"rightKeyCode", "Right"}};
        bool any = false;
        for (const auto& direction : kDirections) {
            const std::string key = Key(model, direction[0], what, keymap_, true);
            if (key.empty()) continue;
            const std::string rule =
                key + " = SwipeHold " + direction[1] + " " + Tuple({stick.spot.x, stick.spot.y, radius});
            if (keymap_.Rule(rule, {}, true)) any = true;
        }
        any ? keymap_.Count() : keymap_.Drop(what, "none of its keys is left to bind");
        return true;
    }

    // Mouse-look: the first draggable button without a key that follows the
    // mouse whenever mapping is on, else the first mouse area. The right
    // button switches it on and off (PlayCover's own switch is not in the
    // file); a left-button model is its fire point.
    bool Look(std::string& error) {
        for (const Json& model : List(root_, "draggableButtonModels")) {
            if (StringField(model, "keyName") == "Mouse" &&
                KeyFromHid(static_cast<long long>(NumberField(model, "keyCode", 0))).empty()) {
                look_ = &model;
                break;
            }
        }
        const Json& areas = List(root_, "mouseAreaModel");
        const bool area = look_ == nullptr && !areas.empty();
        if (area) look_ = &areas[0];
        if (look_ == nullptr) return true;
        Model aim;
        if (!Place(*look_, area ? "mouseAreaModel 1" : "draggableButtonModels (Mouse)", aim, error)) return false;
        for (const Json& model : List(root_, "buttonModels")) {
            if (Field(model, "keyCode").is_number_integer() && Field(model, "keyCode").get<long long>() == -2) {
                keymap_.Drop(aim.what, "the right button switches mouse-look, and a button taps with it");
                fire_ = nullptr;  // look_ stays: the lists skip it, it is dropped
                return true;
            }
            if (fire_ == nullptr && Field(model, "keyCode").is_number_integer() &&
                Field(model, "keyCode").get<long long>() == -1) {
                fire_ = &model;
            }
        }
        keymap_.UseShootingMode();
        Model shot;
        if (fire_ != nullptr && !Place(*fire_, "buttonModels (LMB)", shot, error)) return false;
        const double sensitivity = kLookSensitivity;  // the file gives none
        const std::string rule =
            fire_ != nullptr
                ? "RightClick = ShootMode " + Tuple({aim.spot.x, aim.spot.y, shot.spot.x, shot.spot.y, sensitivity})
                : "RightClick = ShootMove " + Tuple({aim.spot.x, aim.spot.y, sensitivity});
        if (keymap_.Rule(rule, fire_ != nullptr ? "mouse-look, toggled by the right button; the left button fires"
                                                : "mouse-look, toggled by the right button")) {
            keymap_.Count();
        }
        return true;
    }

    const Json& root_;
    Keymap& keymap_;
    const Json* look_ = nullptr;
    const Json* fire_ = nullptr;
};

}  // namespace

bool FromPlayCover(const Json& root, Keymap& keymap, std::string& error) {
    if (!root.is_object()) {
        error = "Cannot import: the property list holds no dictionary, so it is no PlayCover keymap";
        return false;
    }
    bool any = false;
    for (const char* list : {"buttonModels", "draggableButtonModels", "joystickModel", "mouseAreaModel"}) {
        any = any || !Field(root, list).is_null();
    }
    if (!any) {
        error =
            "Cannot import: this property list has none of buttonModels, draggableButtonModels, joystickModel "
            "and mouseAreaModel, so it is no PlayCover keymap";
        return false;
    }
    const std::string bundle = StringField(root, "bundleIdentifier");
    if (!bundle.empty()) keymap.About("For " + bundle + ": save it as " + bundle + ".cfg");
    if (const std::string version = StringField(root, "version"); !version.empty()) {
        keymap.About("PlayCover keymap version " + version);
    }
    return PlayCoverConverter(root, keymap).Run(error);
}

}  // namespace Keyweave::Tool::Import
