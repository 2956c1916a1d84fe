// The rules of the [gamepad] section (controls to keys, tilt settings, the
// cursor) and of the [gamepad2] section (controls to actions).

#include <iterator>

#include "codes/control_names.h"
#include "codes/key_names.h"
#include "config/number_reading.h"
#include "config/parser.h"
#include "config/text_utilities.h"
#include "sensors/accelerometer.h"

namespace Keyweave {

bool Config::Parser::ParseGamePadRule(std::string_view rule) {
    std::string_view rest = rule;
    if (Text::NextWord(rest) == "Hide_Cursor") return ParseGamePadCursorRule(rule);
    if (rule.starts_with("Tilt_")) return ParseGamePadTiltRule(rule);
    return ParseGamePadKeyRule(rule);
}

bool Config::Parser::ParseGamePadCursorRule(std::string_view rule) {
    std::string_view rest = rule;
    Text::NextWord(rest);
    if (!ExpectAssignment(rule, rest)) return false;
    const std::string_view value = Text::NextWord(rest);
    if (!rest.empty()) {
        Report(ReaderMessages::kRuleJunk, rule);
        return false;
    }
    if (value == "No") config_.mShowCursor = true;
    return true;
}

bool Config::Parser::ParseGamePadTiltRule(std::string_view rule) {
    std::string_view rest = rule;
    const std::string_view name = Text::NextWord(rest);
    if (!ExpectAssignment(rule, rest)) return false;
    const std::string_view value = Text::NextWord(rest);
    if (!rest.empty()) {
        Report(ReaderMessages::kRuleJunk, rule);
        return false;
    }
    int32_t degrees = 0;
    if (Numbers::Scan(value, "%d", {degrees}) != 1) {
        Report(ReaderMessages::kAngle, rule);
        return false;
    }

    struct Setting {
        std::string_view name;
        bool isMax;
        bool isRoll;
    };
    static constexpr Setting kSettings[] = {
        {"Tilt_RollZero", false, true},
        {"Tilt_PitchZero", false, false},
        {"Tilt_RollMax", true, true},
        {"Tilt_PitchMax", true, false},
    };
    static_assert(std::size(kSettings) == 4);
    for (const Setting& setting : kSettings) {
        if (name != setting.name) continue;
        if (Accelerometer* accelerometer = context_.accelerometer) {
            if (setting.isMax) {
                accelerometer->SetTiltMax(setting.isRoll, degrees);
            } else {
                accelerometer->SetTiltZero(setting.isRoll, degrees);
            }
        }
        return true;
    }
    Report(ReaderMessages::kTiltRule, rule);
    return false;
}

bool Config::Parser::ExpectControlAssignment(std::string_view rule, std::string_view& rest, uint32_t& control) {
    control = GamePad::LookupControlName(Text::NextWord(rest));
    if (control == GamePad::kNoControl) {
        Report(ReaderMessages::kInput, rule);
        return false;
    }
    return ExpectAssignment(rule, rest);
}

bool Config::Parser::ParseGamePadKeyRule(std::string_view rule) {
    std::string_view rest = rule;
    uint32_t control = GamePad::kNoControl;
    if (!ExpectControlAssignment(rule, rest, control)) return false;
    const std::string_view value = Text::NextWord(rest);  // anything after it is ignored
    if (value == "Tilt") {
        if (control != GamePad::kLeftStick) {
            Report(ReaderMessages::kTiltInput, rule);
            return false;
        }
        config_.mGamePadTilt = true;
        return true;
    }
    const uint32_t key = KeyCodeOf(value);
    if (key == kNoKey) {
        Report(ReaderMessages::kInvalidKey, rule);
        return false;
    }
    config_.mGamePadKeys[control] = key;
    return true;
}

bool Config::Parser::ParseGamePadActionRule(std::string_view rule) {
    std::string_view rest = rule;
    uint32_t control = GamePad::kNoControl;
    if (!ExpectControlAssignment(rule, rest, control)) return false;
    const std::string_view keyword = Text::NextWord(rest);
    // A comment after the arguments is cut here, as it is in [keys] rules.
    const std::string_view args = Text::Clean(rest);

    // The sticks' own syntax takes "SwipeHold" and "TouchMove"; the other
    // keywords read as they do in [keys].
    using KeywordParser = Record (Parser::*)(std::string_view);
    struct Keyword {
        std::string_view keyword;
        KeywordParser parse;
    };
    static constexpr Keyword kKeywords[] = {
        {"SwipeHold", &Parser::ParseStickHold}, {"TouchMove", &Parser::ParseStickMove},
        {"TapStick", &Parser::ParseTapStick},   {"Tap", &Parser::ParseTap},
        {"Swipe", &Parser::ParseSwipe},         {"TapTap", &Parser::ParseTapTap},
        {"SwipeXY", &Parser::ParseSwipeXY},     {"Tilt", &Parser::ParseTilt},
        {"TapCancel", &Parser::ParseTapCancel},
    };
    static_assert(std::size(kKeywords) == 9);
    for (const Keyword& entry : kKeywords) {
        if (keyword != entry.keyword) continue;
        Record action = (this->*entry.parse)(args);
        if (!action) return false;
        action->ruleSection = kGamePad2;
        action->ruleLine = lineNumber_;
        Action* stored = config_.Adopt(std::move(action));
        config_.mGamePadActions[control] = stored;
        if (context_.observer != nullptr) context_.observer->GamePadActionStored(lineNumber_, control, *stored);
        return true;
    }
    return false;  // not an action of this section; the reader reports the line
}

}  // namespace Keyweave
