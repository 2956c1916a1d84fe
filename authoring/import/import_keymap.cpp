#include "import/import_keymap.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/printf.h"
#include "import/property_list.h"

namespace Keyweave::Tool::Import {
namespace {

// Text on one comment line: line ends and tabs become blanks.
std::string OneLine(std::string_view text) {
    std::string out;
    for (const char c : text) out += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
    return out;
}

// A note as the comment at the end of its rule, where the Studio reads a
// binding's label; a ";" would start another action, so it becomes ",".
std::string NoteSuffix(std::string_view note) {
    std::string text = OneLine(note);
    text.erase(0, text.find_first_not_of(' '));
    while (text.ends_with(' ')) text.pop_back();
    if (text.empty()) return "";
    std::replace(text.begin(), text.end(), ';', ',');
    return "  # " + text;
}

// The keys of a rule ("Shift,C = Tap ...") in one order: "C,Shift".
std::string KeySet(const std::string& rule) {
    std::vector<std::string> keys;
    const std::string spec = rule.substr(0, rule.find(' '));
    for (size_t start = 0; start <= spec.size();) {
        const size_t comma = spec.find(',', start);
        keys.push_back(spec.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    std::sort(keys.begin(), keys.end());
    std::string set;
    for (const std::string& key : keys) set += (set.empty() ? "" : ",") + key;
    return set;
}

}  // namespace

bool Keymap::Bound(const std::string& keys) const {
    return std::find(bound_.begin(), bound_.end(), KeySet(keys)) != bound_.end();
}

bool Keymap::Rule(const std::string& rule, std::string_view note, bool part) {
    if (Bound(rule)) {
        const std::string clean = OneLine(note);
        const std::string what = rule + (clean.empty() ? "" : " (" + clean + ")");
        const std::string why = "a rule above binds " + rule.substr(0, rule.find(' ')) + " already";
        part ? DropField(what, why) : Drop(what, why);
        return false;
    }
    bound_.push_back(KeySet(rule));
    lines_.push_back(rule + NoteSuffix(note));
    return true;
}

void Keymap::Drop(const std::string& what, const std::string& why) {
    lines_.push_back("# dropped: " + OneLine(what) + ": " + why);
    ++dropped_;
}

void Keymap::DropField(const std::string& what, const std::string& why, size_t count) {
    lines_.push_back("# dropped: " + OneLine(what) + ": " + why);
    fieldsDropped_ += count;
}

void Keymap::Notice(const std::string& what, const std::string& why) {
    const std::string line = "# dropped: " + OneLine(what) + ": " + why;
    if (std::find(notices_.begin(), notices_.end(), line) != notices_.end()) return;
    notices_.push_back(line);
    ++fieldsDropped_;
}

std::string Keymap::Summary() const {
    return Printf("%zu %s converted, %zu dropped, %zu %s dropped", converted_, converted_ == 1 ? "mapping" : "mappings",
                  dropped_, fieldsDropped_, fieldsDropped_ == 1 ? "field" : "fields");
}

bool FromText(const std::string& content, const std::string& source, const Options& options, Keymap& keymap,
              std::string& text, std::vector<std::string>& notes, std::string& error) {
    const size_t first = content.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (first != std::string::npos && content[first] == '<') {
        Json root;
        if (!ReadPropertyList(content, root, error)) {
            error = "Cannot import " + source + ": " + error;
            return false;
        }
        if (!FromPlayCover(root, keymap, error)) return false;
        text = keymap.Text(source, "PlayCover");
        return true;
    }
    const Json root = Json::parse(content, nullptr, false);
    if (root.is_discarded()) {
        error = "Cannot import " + source + ": it is neither JSON nor an XML property list";
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
    std::string text = "# Imported from " + OneLine(source) + " (a " + format + " keymap) by keyweave import.\n";
    for (const std::string& line : about_) text += "# " + OneLine(line) + "\n";
    text += "# Positions are percent of the screen. Lines starting \"# dropped:\" name what has no\n";
    text += "# Keyweave counterpart; a comment at the end of a rule is the source's note on it.\n";
    for (const std::string& line : notices_) text += line + "\n";
    if (shooting_) text += "# ENABLE_SHOOTING_MODE\n";
    text += "\n[keys]\n";
    for (const std::string& line : lines_) text += line + "\n";
    return text;
}

double PadReach(const std::string& what, double left, double right, double up, double down, Keymap& keymap) {
    constexpr double kUpDown = 1.6;  // the pad's reach up and down, in r
    const double radius = Clamp(std::max({left, right, up / kUpDown, down / kUpDown}), 0, 50);
    const auto same = [](double a, double b) { return Num(a) == Num(b); };
    if (!same(left, radius) || !same(right, radius) || !same(up, radius * kUpDown) || !same(down, radius * kUpDown)) {
        keymap.DropField(what + " reach left " + Num(left) + ", right " + Num(right) + " % of the width, up " +
                             Num(up) + ", down " + Num(down) + " % of the height",
                         "one reach serves every direction: r " + Num(radius) + " (" + Num(radius) +
                             " % of the width sideways, " + Num(radius * kUpDown) + " % of the height up and down)");
    }
    return radius;
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
        {"Key_Space", "Space"},      {"Key_Return", "Enter"},  {"Key_Enter", "Enter"},    {"Key_Control", "Ctrl"},
        {"Key_Alt", "Alt"},          {"Key_Shift", "Shift"},   {"Key_Tab", "Tab"},        {"Key_Up", "Up"},
        {"Key_Down", "Down"},        {"Key_Left", "Left"},     {"Key_Right", "Right"},    {"Key_Equal", "="},
        {"Key_Minus", "-"},          {"Key_BracketLeft", "{"}, {"Key_BracketRight", "}"}, {"Key_Backslash", "\\"},
        {"Key_Semicolon", ";"},      {"Key_Apostrophe", "'"},  {"Key_Comma", "<"},        {"Key_Period", ">"},
        {"Key_Slash", "/"},          {"Key_QuoteLeft", "~"},   {"Key_Delete", "Del"},     {"RightButton", "RightClick"},
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
        {"Space", "Space"},
        {"Enter", "Enter"},
        {"Tab", "Tab"},
        {"ShiftLeft", "Shift"},
        {"ControlLeft", "Ctrl"},
        {"AltLeft", "Alt"},
        {"Backquote", "~"},
        {"Semicolon", ";"},
        {"Quote", "'"},
        {"BracketLeft", "{"},
        {"BracketRight", "}"},
        {"Backslash", "\\"},
        {"Comma", "<"},
        {"Period", ">"},
        {"Slash", "/"},
        {"Minus", "-"},
        {"Equal", "="},
        {"ArrowUp", "Up"},
        {"ArrowDown", "Down"},
        {"ArrowLeft", "Left"},
        {"ArrowRight", "Right"},
        {"NumpadAdd", "Add"},
        {"NumpadSubtract", "Sub"},
        {"NumpadMultiply", "Mul"},
        {"NumpadDivide", "Div"},
        {"Delete", "Del"},
        {"M1", "LeftClick"},
        {"M-Left", "LeftClick"},
        {"M2", "RightClick"},
        {"M-Right", "RightClick"},
        {"WheelUp", "MouseWheelUp"},
        {"ScrollUp", "MouseWheelUp"},
        {"WheelDown", "MouseWheelDown"},
        {"ScrollDown", "MouseWheelDown"},
    };
    if (const auto found = kKeys.find(name); found != kKeys.end()) return std::string(found->second);
    const auto last = [&](std::string_view prefix, char low, char high) {
        return name.size() == prefix.size() + 1 && name.starts_with(prefix) && name.back() >= low &&
               name.back() <= high;
    };
    if (last("Key", 'A', 'Z') || last("Digit", '0', '9')) return std::string(1, name.back());
    if (last("Numpad", '0', '9')) return "Num" + std::string(1, name.back());
    if (last("F", '1', '8')) return std::string(name);
    return "";
}

std::string KeyFromHid(long long code) {
    static const std::map<long long, std::string_view> kKeys = {
        {40, "Enter"}, {43, "Tab"},    {44, "Space"}, {45, "-"},         {46, "="},          {47, "{"},
        {48, "}"},     {49, "\\"},     {51, ";"},     {52, "'"},         {53, "~"},          {54, "<"},
        {55, ">"},     {56, "/"},      {76, "Del"},   {79, "Right"},     {80, "Left"},       {81, "Down"},
        {82, "Up"},    {84, "Div"},    {85, "Mul"},   {86, "Sub"},       {87, "Add"},        {98, "Num0"},
        {224, "Ctrl"}, {225, "Shift"}, {226, "Alt"},  {-1, "LeftClick"}, {-2, "RightClick"},
    };
    if (const auto found = kKeys.find(code); found != kKeys.end()) return std::string(found->second);
    if (code >= 4 && code <= 29) return std::string(1, static_cast<char>('A' + code - 4));
    if (code >= 30 && code <= 38) return std::string(1, static_cast<char>('1' + code - 30));
    if (code == 39) return "0";
    if (code >= 58 && code <= 65) return "F" + std::to_string(code - 57);
    if (code >= 89 && code <= 97) return "Num" + std::to_string(code - 88);
    return "";
}

}  // namespace Keyweave::Tool::Import
