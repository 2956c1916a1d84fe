#include "keyweave/import_keymap.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "keyweave/console.h"

namespace Keyweave::Tool::Import {
namespace {

// A note or comment as one comment-safe piece of text: no line ends, and no
// ";" (which would split a rule's actions).
std::string Sanitised(std::string_view text) {
    std::string out;
    for (const char c : text) out += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c == ';' ? ',' : c;
    return out;
}

}  // namespace

void Keymap::Rule(const std::string& rule, std::string_view note) {
    const std::string clean = Sanitised(note);
    lines_.push_back(clean.empty() ? rule : rule + "   # " + clean);
}

void Keymap::Drop(const std::string& what, const std::string& why) {
    lines_.push_back("# dropped: " + Sanitised(what) + ": " + why);
    ++dropped_;
}

void Keymap::DropField(const std::string& what, const std::string& why) {
    lines_.push_back("# dropped: " + Sanitised(what) + ": " + why);
}

void Keymap::Notice(const std::string& what, const std::string& why) {
    const std::string line = "# dropped: " + Sanitised(what) + ": " + why;
    if (std::find(notices_.begin(), notices_.end(), line) == notices_.end()) notices_.push_back(line);
}

bool FromJsonText(const std::string& json, const std::string& source, const Options& options, Keymap& keymap,
                  std::string& text, std::vector<std::string>& notes, std::string& error) {
    const Json root = Json::parse(json, nullptr, false);
    if (root.is_discarded()) {
        error = "Cannot import " + source + ": it is not JSON";
        return false;
    }
    const bool qt = root.is_object() && root.contains("keyMapNodes");
    bool converted = false;
    try {  // the readers check every type first; this is a last guard
        converted = qt ? FromQtScrcpy(root, keymap, error) : FromScrcpyMask(root, options, keymap, notes, error);
    } catch (const std::exception& exception) {
        error = std::string("Cannot import: ") + exception.what();
    }
    if (converted) text = keymap.Text(source, qt ? "QtScrcpy" : "scrcpy-mask");
    return converted;
}

std::string Keymap::Text(const std::string& source, const std::string& format) const {
    std::string text = "# Imported from " + Sanitised(source) + " (a " + format + " keymap) by keyweave import.\n";
    text += "# Positions are percent of the screen. Lines starting \"# dropped:\" name what has no\n";
    text += "# Keyweave counterpart.\n";
    for (const std::string& line : notices_) text += line + "\n";
    if (shooting_) text += "# ENABLE_SHOOTING_MODE\n";
    text += "\n[keys]\n";
    for (const std::string& line : lines_) text += line + "\n";
    return text;
}

const Json& Field(const Json& object, const char* name) {
    static const Json kNothing;
    if (!object.is_object()) return kNothing;
    const auto found = object.find(name);
    return found == object.end() ? kNothing : *found;
}

double NumberField(const Json& object, const char* name, double fallback) {
    const Json& value = Field(object, name);
    return value.is_number() ? value.get<double>() : fallback;
}

std::string StringField(const Json& object, const char* name) {
    const Json& value = Field(object, name);
    return value.is_string() ? value.get<std::string>() : "";
}

std::string Num(double value) {
    if (!std::isfinite(value)) value = 0;
    std::string text = Printf("%.2f", value);
    while (text.ends_with('0')) text.pop_back();
    if (text.ends_with('.')) text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string Tuple(std::initializer_list<double> values) {
    std::string text = "(";
    for (const double value : values) text += (text.size() > 1 ? "," : "") + Num(value);
    return text + ")";
}

double Clamp(double value, double low, double high) {
    if (!std::isfinite(value)) return low;
    return value < low ? low : value > high ? high : value;
}

std::string KeyFromQt(std::string_view name) {
    static const std::map<std::string_view, std::string_view> kKeys = {
        {"Key_Space", "Space"},   {"Key_Return", "Enter"},   {"Key_Enter", "Enter"},     {"Key_Control", "Ctrl"},
        {"Key_Alt", "Alt"},       {"Key_Shift", "Shift"},    {"Key_Tab", "Tab"},         {"Key_Up", "Up"},
        {"Key_Down", "Down"},     {"Key_Left", "Left"},      {"Key_Right", "Right"},     {"Key_Equal", "="},
        {"Key_Minus", "-"},       {"Key_BracketLeft", "{"},  {"Key_BracketRight", "}"},  {"Key_Backslash", "\\"},
        {"Key_Semicolon", ";"},   {"Key_Apostrophe", "'"},   {"Key_Comma", "<"},         {"Key_Period", ">"},
        {"Key_Slash", "/"},       {"Key_QuoteLeft", "~"},    {"Key_Delete", "Del"},      {"RightButton", "RightClick"},
        {"LeftButton", "LeftClick"},
    };
    if (const auto found = kKeys.find(name); found != kKeys.end()) return std::string(found->second);
    if (!name.starts_with("Key_")) return "";
    const std::string_view rest = name.substr(4);
    if (rest.size() == 1 && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= '0' && rest[0] <= '9'))) {
        return std::string(rest);
    }
    if (rest.size() == 2 && rest[0] == 'F' && rest[1] >= '1' && rest[1] <= '8') return std::string(rest);
    return "";
}

std::string KeyFromBrowser(std::string_view name) {
    static const std::map<std::string_view, std::string_view> kKeys = {
        {"Space", "Space"},         {"Enter", "Enter"},          {"Tab", "Tab"},
        {"ShiftLeft", "Shift"},     {"ControlLeft", "Ctrl"},     {"AltLeft", "Alt"},
        {"Backquote", "~"},         {"Semicolon", ";"},          {"Quote", "'"},
        {"BracketLeft", "{"},       {"BracketRight", "}"},       {"Backslash", "\\"},
        {"Comma", "<"},             {"Period", ">"},             {"Slash", "/"},
        {"Minus", "-"},             {"Equal", "="},              {"ArrowUp", "Up"},
        {"ArrowDown", "Down"},      {"ArrowLeft", "Left"},       {"ArrowRight", "Right"},
        {"NumpadAdd", "Add"},       {"NumpadSubtract", "Sub"},   {"NumpadMultiply", "Mul"},
        {"NumpadDivide", "Div"},    {"Delete", "Del"},           {"M1", "LeftClick"},
        {"M-Left", "LeftClick"},    {"M2", "RightClick"},        {"M-Right", "RightClick"},
        {"WheelUp", "MouseWheelUp"}, {"ScrollUp", "MouseWheelUp"}, {"WheelDown", "MouseWheelDown"},
        {"ScrollDown", "MouseWheelDown"},
    };
    if (const auto found = kKeys.find(name); found != kKeys.end()) return std::string(found->second);
    const auto last = [&](std::string_view prefix, char low, char high) {
        return name.size() == prefix.size() + 1 && name.starts_with(prefix) && name.back() >= low && name.back() <= high;
    };
    if (last("Key", 'A', 'Z') || last("Digit", '0', '9')) return std::string(1, name.back());
    if (last("Numpad", '0', '9')) return "Num" + std::string(1, name.back());
    if (last("F", '1', '8')) return std::string(name);
    return "";
}

}  // namespace Keyweave::Tool::Import
