// Action texts: the keyword that names a record type and the tuple of numbers
// that gives its parameters. Positions are written in percent of the screen
// and kept as fractions. Every keyword's parser traces its arguments first.

#include <iterator>

#include "actions/actions.h"
#include "codes/key_names.h"
#include "config/number_reading.h"
#include "config/parser.h"
#include "config/text_utilities.h"
#include "config/tuple_readers.h"

namespace Keyweave {
namespace {

// Glide times of a direction pad whose tuple gives a radius but no time, ms.
constexpr uint32_t kGlide = 10;
constexpr uint32_t kDynamicGlide = 30;  // after "# ENABLE_DYNAMIC_DPAD"

}  // namespace

std::unique_ptr<Action> Config::Parser::ParseKeyAction(std::string_view text) {
    text = Text::Clean(text);
    std::string_view args = text;
    const std::string_view keyword = Text::NextWord(args);

    using KeywordParser = Record (Parser::*)(std::string_view);
    struct Keyword {
        std::string_view keyword;
        KeywordParser parse;
    };
    static constexpr Keyword kKeywords[] = {
        {"Key", &Parser::ParseKey},
        {"Tap", &Parser::ParseTap},
        {"Swipe", &Parser::ParseSwipe},
        {"SwipeXY", &Parser::ParseSwipeXY},
        {"SwipeTrace", &Parser::ParseSwipeTrace},
        {"SwipeHold", &Parser::ParseSwipeHold},
        {"Tilt", &Parser::ParseTilt},
        {"MouseSwipe", &Parser::ParseMouseSwipe},
        {"TapSwipe", &Parser::ParseTapSwipe},
        {"TapTap", &Parser::ParseTapTap},
        {"MouseHold", &Parser::ParseMouseHold},
        {"TapSwipeClick", &Parser::ParseTapSwipeClick},
        {"TouchMove", &Parser::ParseTouchMove},
        {"TapCancel", &Parser::ParseTapCancel},
        {"ShootMode", &Parser::ParseShootMode},
        {"ShootMove", &Parser::ParseShootMove},
        {"SuspendShoot", &Parser::ParseSuspendShoot},
        {"TapMacros", &Parser::ParseTapsMacro},
    };
    for (const Keyword& entry : kKeywords) {
        if (keyword == entry.keyword) return (this->*entry.parse)(args);
    }
    Report(ReaderMessages::kInvalidAction, text);
    return nullptr;
}

void Config::Parser::Trace(const char* name, std::string_view args) const {
    context_.log.Write("%s(%s)", name, std::string(args).c_str());
}

bool Config::Parser::ParseDirection(std::string_view& args, uint32_t& direction) {
    struct Word {
        std::string_view word;
        uint32_t direction;
    };
    static constexpr Word kWords[] = {
        {"Up", kSwipeUp}, {"Down", kSwipeDown}, {"Left", kSwipeLeft}, {"Right", kSwipeRight}};
    const std::string_view word = Text::NextWord(args);
    for (const Word& entry : kWords) {
        if (word == entry.word) {
            direction = entry.direction;
            return true;
        }
    }
    Report(ReaderMessages::kDirection, word);
    return false;
}

bool Config::Parser::ReadArguments(std::string_view args, const std::function<bool(std::string_view)>& read) {
    if (args.empty()) return true;
    const std::string_view tuple = Text::NextWord(args);
    if (!read(tuple)) {
        Report(ReaderMessages::kPoint, tuple);
        return false;
    }
    return NoTrailingJunk(args);
}

bool Config::Parser::NoTrailingJunk(std::string_view rest) {
    if (rest.empty()) return true;
    Report(ReaderMessages::kTrailingJunk, rest);
    return false;
}

Config::Parser::Record Config::Parser::ParseKey(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseKeyAction", args);
    return std::make_unique<KeyAction>(KeyCodeOf(args));  // an unknown name binds kNoKey
}

Config::Parser::Record Config::Parser::ParseTap(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTapAction", args);
    Point point = kScreenCentre;
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadPoint(tuple, point); })) return nullptr;
    return std::make_unique<TapAction>(point);
}

Config::Parser::Record Config::Parser::ParseSwipe(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseSwipeAction", args);
    uint32_t direction = 0;
    if (!ParseDirection(args, direction)) return nullptr;
    Point start = kScreenCentre;
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadPoint(tuple, start); })) return nullptr;
    return std::make_unique<SwipeAction>(start, direction);
}

Config::Parser::Record Config::Parser::ParseSwipeXY(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseSwipeXYAction", args);
    Point start, end;  // (0, 0) when not given
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadTwoPoints(tuple, start, end); })) {
        return nullptr;
    }
    return std::make_unique<SwipeActionXY>(start, end);
}

Config::Parser::Record Config::Parser::ParseSwipeTrace(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseSwipeTraceAction", args);
    auto trace = std::make_unique<SwipeTraceAction>();
    const bool read = ReadArguments(args, [&](std::string_view tuple) {
        std::vector<float> values;
        if (!Tuples::ReadValueList(tuple, values) || values.size() % 2 != 0) return false;
        for (size_t i = 0; i < values.size(); i += 2)
            trace->points.push_back({values[i] / 100.0f, values[i + 1] / 100.0f});
        return true;
    });
    if (!read) return nullptr;
    return trace;
}

Config::Parser::Record Config::Parser::ParseSwipeHold(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseSwipeHoldAction", args);
    uint32_t direction = 0;
    if (!ParseDirection(args, direction)) return nullptr;
    Point centre = kScreenCentre;
    float radius = 0.0f;  // percent
    uint32_t glide = 0;
    const bool read = ReadArguments(args, [&](std::string_view tuple) {
        Tuples::PointRadiusInteger values;
        if (!Tuples::ReadPointRadiusInteger(tuple, values)) return false;
        centre = values.point;
        radius = values.radius;
        if (values.count == 3) {
            // The dynamic pad glides longer; the directive counts only when it
            // came before this rule.
            glide = config_.mEnableDynamicDpad != 0 ? kDynamicGlide : kGlide;
        } else if (values.count == 4) {
            glide = static_cast<uint32_t>(values.integer);
        }
        return true;
    });
    if (!read) return nullptr;
    return std::make_unique<SwipeHoldAction>(centre, direction, radius / 100.0f, glide);
}

Config::Parser::Record Config::Parser::ParseMouseSwipe(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseMouseSwipeAction", args);
    Point centre = kScreenCentre;
    float radius = 0.0f;
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadPointRadius(tuple, centre, radius); })) {
        return nullptr;
    }
    return std::make_unique<MouseSwipeAction>(Numbers::TruncateToInt32(radius), centre);
}

Config::Parser::Record Config::Parser::ParseTapSwipe(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTapSwipeAction", args);
    Tuples::PointRadiusInteger values;
    values.point = kScreenCentre;
    values.radius = 0.0f;
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadPointRadiusInteger(tuple, values); })) {
        return nullptr;
    }
    return std::make_unique<TapSwipeAction>(values.point, values.radius, values.integer != 0);
}

Config::Parser::Record Config::Parser::ParseTapTap(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTapTapAction", args);
    Point first = kScreenCentre, second = kScreenCentre;
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadTwoPoints(tuple, first, second); })) {
        return nullptr;
    }
    return std::make_unique<TapTapAction>(first, second);
}

Config::Parser::Record Config::Parser::ParseMouseHold(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseMouseHoldAction", args);
    Point topLeft = kScreenCentre, bottomRight = kScreenCentre;
    if (!ReadArguments(args,
                       [&](std::string_view tuple) { return Tuples::ReadTwoPoints(tuple, topLeft, bottomRight); })) {
        return nullptr;
    }
    return std::make_unique<MouseHoldAction>(topLeft, bottomRight);
}

Config::Parser::Record Config::Parser::ParseTapSwipeClick(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTapSwipeClickAction", args);
    Tuples::PointRadiusInteger values;  // the integer is read and not used
    values.point = kScreenCentre;
    values.radius = 0.0f;
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadPointRadiusInteger(tuple, values); })) {
        return nullptr;
    }
    return std::make_unique<TapSwipeClickAction>(values.point, Numbers::TruncateToInt32(values.radius));
}

Config::Parser::Record Config::Parser::ParseTouchMove(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTouchMoveAction", args);
    Point point = kScreenCentre;
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadPoint(tuple, point); })) return nullptr;
    return std::make_unique<TouchMoveAction>(point);
}

Config::Parser::Record Config::Parser::ParseTapCancel(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTapCancelAction", args);
    Point point = kScreenCentre;
    if (!ReadArguments(args, [&](std::string_view tuple) { return Tuples::ReadPoint(tuple, point); })) return nullptr;
    return std::make_unique<TapCancelAction>(point);
}

Config::Parser::Record Config::Parser::ParseShootMode(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseShootModeAction", args);
    // Shooting actions exist only in a keymap that enabled the mode above them.
    if (config_.mEnableShootingMode == 0) return nullptr;
    Point aim = kScreenCentre, fire = kScreenCentre;
    float sensitivity = 0.0f;  // the fifth value is not range-checked
    const bool read = ReadArguments(
        args, [&](std::string_view tuple) { return Tuples::ReadTwoPointsValue(tuple, aim, fire, sensitivity); });
    if (!read) return nullptr;
    return std::make_unique<ShootModeAction>(aim, fire, config_.mShootingModeType, sensitivity);
}

Config::Parser::Record Config::Parser::ParseShootMove(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseShootMoveAction", args);
    Point origin = kScreenCentre;
    float sensitivity = 0.0f;
    const bool read = ReadArguments(args, [&](std::string_view tuple) {
        float x = 0, y = 0, r = 0;
        if (Numbers::Scan(tuple, "(%f,%f,%f)", {x, y, r}) != 3 || r < 0.0f || r > 100.0f) return false;
        origin = {x / 100.0f, y / 100.0f};
        sensitivity = r / 100.0f;
        return true;
    });
    if (!read) return nullptr;
    return std::make_unique<ShootMoveAction>(origin, sensitivity);
}

Config::Parser::Record Config::Parser::ParseSuspendShoot(std::string_view) {
    // No trace and no arguments: the keyword alone is the action.
    if (config_.mEnableShootingMode == 0) return nullptr;
    return std::make_unique<SuspendShootAction>();
}

Config::Parser::Record Config::Parser::ParseTapsMacro(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTapsMacroAction", args);
    auto macro = std::make_unique<TapsMacroAction>();
    const bool read = ReadArguments(args, [&](std::string_view tuple) {
        // Triples x, y, pause, then the repeat count last.
        std::vector<float> values;
        if (!Tuples::ReadValueList(tuple, values) || values.size() % 3 != 1) return false;
        for (size_t i = 0; i + 1 < values.size(); i += 3) {
            macro->taps.push_back(
                {{values[i] / 100.0f, values[i + 1] / 100.0f}, Numbers::TruncateToInt32(values[i + 2])});
        }
        macro->repeat = Numbers::TruncateToInt32(values.back());
        return true;
    });
    if (!read) return nullptr;
    return macro;
}

}  // namespace Keyweave
