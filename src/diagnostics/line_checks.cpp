// Warnings found in the text of the lines: a file in UTF-16, directive
// look-alikes that the reader takes for comments, directive values it ignores,
// rule values it ignores or cuts, and directives that come after the rules
// they change.

#include <cctype>
#include <cmath>
#include <iterator>

#include "codes/key_names.h"
#include "config/number_reading.h"
#include "config/parser.h"
#include "config/text_utilities.h"
#include "diagnostics/checks.h"

namespace Keyweave::Diagnostics {
namespace {

using Section = Config::Parser::Section;

enum class Kind { kExact, kTuple, kCentre };

struct DirectiveName {
    std::string_view name;
    Kind kind;
};

constexpr DirectiveName kDirectives[] = {
    {"ALWAYS_SEND_UNMAPPED_KEY", Kind::kExact},
    {"ENABLE_SHOOTING_MODE", Kind::kExact},
    {"SHOOTING_MODE_1", Kind::kExact},
    {"SHOOTING_MODE_2", Kind::kExact},
    {"SHOOTING_MODE_3", Kind::kExact},
    {"SHOOTING_MODE_4", Kind::kExact},
    {"ENABLE_SINGLE_TOUCH_SHOOTING_MODE", Kind::kExact},
    {"CLIP_RECTANGLE", Kind::kTuple},
    {"SWIPE_PINCH", Kind::kTuple},
    {"ENABLE_SPACE_SHOOTER_MODE", Kind::kExact},
    {"ENABLE_DYNAMIC_DPAD", Kind::kExact},
    {"ENABLE_DYNAMIC_ZOOM", Kind::kExact},
    {"ENABLE_LOCATION_UPDATION_WITH_KEYMAP", Kind::kExact},
    {"SCREEN_CENTER_CUSTOM", Kind::kCentre},
};
static_assert(std::size(kDirectives) == 14);

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool Whole(float value) { return std::fabs(value - std::round(value)) < 1e-4f; }

// The line as the reader compares it: trimmed, without a UTF-8 mark.
std::string_view Trimmed(const SeenLine& line) {
    std::string_view text = Text::TrimRight(Text::TrimLeft(line.raw));
    if (text.starts_with(kUtf8Mark)) text.remove_prefix(kUtf8Mark.size());
    return text;
}

// The directive a "#" line seems to name: the word after "#" and blanks, in
// capitals; null when it names none.
const DirectiveName* NamedDirective(std::string_view line) {
    std::string_view body = Text::TrimLeft(line.substr(1));
    std::string word;
    for (const char c : body) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') break;
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (const DirectiveName& directive : kDirectives) {
        if (word == directive.name) return &directive;
    }
    return nullptr;
}

struct State {
    const Seen& seen;
    Warnings& warnings;
    uint32_t shootingLine = 0;   // the first '# ENABLE_SHOOTING_MODE', 0 when none
    uint32_t glideRuleLine = 0;  // the first SwipeHold rule with three values read
};

void CheckSwipePinch(const SeenLine& line, std::string_view values, State& state) {
    float swipeLength = 0.2f, split = 0.2f, in = 0.1f, out = 0.1f;
    int32_t swipeMs = 100, pinchMs = 50;
    Numbers::Scan(values, "(%f,%d,%f,%f,%f,%d)", {swipeLength, swipeMs, split, in, out, pinchMs});
    for (const float length : {swipeLength, split, in, out}) {
        if (length <= 1.0f) continue;
        state.warnings.Add(line.number, "swipe-pinch-percent",
                           "the lengths of '# SWIPE_PINCH' (its 1st, 3rd, 4th and 5th values) are fractions of the "
                           "screen, not percent: " +
                               Number(length) +
                               " reaches far off the screen; write 0.2 for a "
                               "fifth of it");
        return;
    }
}

void CheckDirective(const SeenLine& line, std::string_view text, State& state) {
    const DirectiveName* directive = NamedDirective(text);
    if (directive == nullptr) return;
    const std::string exact = "# " + std::string(directive->name);
    const bool taken = directive->kind == Kind::kExact ? text == exact : text.starts_with(exact);
    if (!taken) {
        const std::string form = directive->kind == Kind::kExact   ? "the whole line '" + exact + "'"
                                 : directive->kind == Kind::kTuple ? "'" + exact + "(...)'"
                                                                   : "'" + exact + " (...)'";
        state.warnings.Add(line.number, "directive-look-alike",
                           "this line is read as a plain comment, not as " + exact + ": write it as " + form +
                               " (one blank after '#', capitals" +
                               (directive->kind == Kind::kExact ? ", nothing after it, not even a comment)" : ")"));
        return;
    }
    const std::string_view rest = text.substr(exact.size());
    if (directive->kind == Kind::kTuple) {
        if (rest.empty() || rest.front() != '(') {
            state.warnings.Add(line.number, rest.empty() ? "no-effect" : "directive-look-alike",
                               rest.empty() ? exact + " without values changes nothing"
                                            : "the values of " + exact +
                                                  " are read only right after its name: "
                                                  "these are ignored and the defaults stay; write " +
                                                  exact +
                                                  "(...)"
                                                  " with no blank before '('");
            return;
        }
        if (directive->name == "SWIPE_PINCH") CheckSwipePinch(line, rest, state);
    }
    if (directive->name == "ENABLE_DYNAMIC_DPAD" && state.glideRuleLine != 0) {
        state.warnings.Add(line.number, "directive-too-late",
                           "SwipeHold rules above it (from line " + std::to_string(state.glideRuleLine) +
                               ") were read before it and keep the plain glide time: move it to the top of the file");
    }
}

// The action texts of a [keys] rule, each as keyword and argument text.
void CheckKeyActions(const SeenLine& line, std::string_view rule, State& state) {
    std::string_view rest = rule;
    Text::NextWord(rest);
    if (Text::NextWord(rest) != "=") return;
    for (const std::string_view piece : Text::Split(rest, ';')) {
        std::string_view args = Text::Clean(piece);
        const std::string_view keyword = Text::NextWord(args);
        if (keyword == "Key" && line.accepted && KeyCodeOf(args) == kNoKey) {
            state.warnings.Add(line.number, "unknown-key",
                               "'" + std::string(args) +
                                   "' is not a key name, so this Key action sends four 0xFF bytes instead of a key: "
                                   "names are case-sensitive, and Escape, Backspace, F9 to F12 and the right-hand "
                                   "modifiers have none");
        } else if ((keyword == "MouseSwipe" || keyword == "TapSwipeClick") && line.accepted) {
            float x = 0, y = 0, radius = 0;
            if (Numbers::Scan(args, "(%f,%f,%f", {x, y, radius}) == 3 && !Whole(radius)) {
                state.warnings.Add(line.number, "truncated-value",
                                   "the radius " + Number(radius) + " of " + std::string(keyword) + " is cut to " +
                                       std::to_string(Numbers::TruncateToInt32(radius)) + ": write a whole number");
            }
        } else if (keyword == "TapMacros" && line.accepted) {
            const std::vector<std::string_view> values = Text::Split(args.substr(args.find('(') + 1), ',');
            // The pauses are every third value; the repeat count is the last.
            for (size_t i = 0; i < values.size(); ++i) {
                if (i % 3 != 2 && i + 1 != values.size()) continue;
                std::string_view number = values[i];
                float value = 0;
                if (!Numbers::ReadFloat(number, value) || Whole(value)) continue;
                state.warnings.Add(line.number, "truncated-value",
                                   "the pause or repeat count " + Number(value) + " of TapMacros is cut to " +
                                       std::to_string(Numbers::TruncateToInt32(value)) + ": write whole numbers");
                break;
            }
        } else if (keyword == "SwipeHold" && line.accepted && state.glideRuleLine == 0) {
            Text::NextWord(args);
            float x = 0, y = 0, radius = 0;
            int32_t glide = 0;
            if (Numbers::Scan(args, "(%f,%f,%f,%d)", {x, y, radius, glide}) == 3) state.glideRuleLine = line.number;
        } else if ((keyword == "ShootMode" || keyword == "SuspendShoot") && !line.accepted && state.shootingLine == 0) {
            state.warnings.Add(line.number, "shooting-mode-off",
                               std::string(keyword) +
                                   " is read only after '# ENABLE_SHOOTING_MODE': put that "
                                   "directive at the top of the file");
        }
    }
}

void CheckGamePadLine(const SeenLine& line, std::string_view rule, State& state) {
    std::string_view rest = rule;
    if (Text::NextWord(rest) != "Hide_Cursor" || Text::NextWord(rest) != "=") return;
    const std::string_view value = Text::NextWord(rest);
    if (value == "No") return;
    state.warnings.Add(line.number, "ignored-value",
                       "Hide_Cursor = " + std::string(value) +
                           " changes nothing: only the exact value 'No' "
                           "shows the cursor (it stays hidden otherwise); write 'No' or delete the line");
}

void CheckOpenSensorLine(const SeenLine& line, std::string_view rule, State& state) {
    std::string_view rest = rule;
    const std::string_view name = Text::NextWord(rest);
    if (Text::NextWord(rest) != "=") return;
    if (name == "Mode" && !line.accepted) {
        std::string_view value = rest;
        const std::string_view word = Text::NextWord(value);
        state.warnings.Add(line.number, "rejected-but-stored",
                           "the line is rejected, yet the mode is set to '" + std::string(word) +
                               "' all the same: a mode is one word (write it without blanks)");
        return;
    }
    const bool button = name.size() == 1 || name == "Up" || name == "Down" || name == "Left" || name == "Right";
    if (!button || !line.accepted) return;
    std::string_view value = rest;
    const std::string_view key = Text::NextWord(value);
    if (KeyCodeOf(key) != kNoKey) return;
    state.warnings.Add(line.number, "unknown-key",
                       "'" + std::string(key) + "' is not a key name, so the button " + std::string(name) +
                           " presses nothing: names are case-sensitive (Space, Enter, A...)");
}

bool LooksLikeUtf16(std::string_view text) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) return true;
    return text.substr(0, 64).find('\0') != std::string_view::npos;
}

}  // namespace

void CheckLines(const Seen& seen, Warnings& warnings) {
    if (LooksLikeUtf16(seen.text)) {
        warnings.Add(1, "utf16",
                     "the file is saved as UTF-16: the engine reads 8-bit text, so it rejects or skips every line; "
                     "save the file as UTF-8");
        return;
    }
    State state{seen, warnings};
    for (const SeenLine& line : seen.lines) {
        if (Trimmed(line) == "# ENABLE_SHOOTING_MODE") {
            state.shootingLine = line.number;
            break;
        }
    }
    const uint32_t shootingLine = state.shootingLine;
    state.shootingLine = 0;
    for (const SeenLine& line : seen.lines) {
        const std::string_view text = Trimmed(line);
        if (text.empty()) continue;
        if (line.number == shootingLine) state.shootingLine = shootingLine;
        if (text.front() == '#') {
            CheckDirective(line, text, state);
            continue;
        }
        if (text.front() == '[') continue;
        switch (line.section) {
            case Section::kKeys:
                CheckKeyActions(line, text, state);
                break;
            case Section::kGamePad:
                if (line.accepted) CheckGamePadLine(line, text, state);
                break;
            case Section::kOpenSensor:
                CheckOpenSensorLine(line, text, state);
                break;
            default:
                break;
        }
    }
}

}  // namespace Keyweave::Diagnostics
