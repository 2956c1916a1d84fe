// The rules of the [opensensor] section: the on-screen controller's mode,
// texts, areas and lettered buttons.

#include <iterator>

#include "codes/key_names.h"
#include "config/number_reading.h"
#include "config/parser.h"
#include "config/text_utilities.h"

namespace Keyweave {

uint32_t ControllerButtonCode(std::string_view name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'H') return static_cast<uint32_t>(name[0]);
    struct Direction {
        std::string_view name;
        char code;
    };
    static constexpr Direction kDirections[] = {{"Up", 'u'}, {"Down", 'd'}, {"Left", 'l'}, {"Right", 'r'}};
    static_assert(std::size(kDirections) == 4);
    for (const Direction& direction : kDirections) {
        if (name == direction.name) return static_cast<uint32_t>(direction.code);
    }
    return 0;
}

bool Config::Parser::ParseOpenSensorRule(std::string_view rule) {
    std::string_view value = rule;
    const std::string_view name = Text::NextWord(value);
    if (!ExpectAssignment(rule, value)) return false;

    if (name == "Mode") {
        std::string_view rest = value;
        config_.mMode = std::string(Text::NextWord(rest));  // kept even when junk follows
        if (!rest.empty()) {
            Report(ReaderMessages::kTrailingJunk, rest);
            return false;
        }
        return true;
    }
    if (name == "Tilt") {
        config_.mTilt = std::string(value);
        return true;
    }
    if (name == "SwipeTap") {
        config_.mSwipeTap = std::string(value);
        return true;
    }
    if (name == "Area1") return ParseAreaRule(config_.mArea1, value);
    if (name == "Area2") return ParseAreaRule(config_.mArea2, value);
    return ParseButtonRule(name, value);
}

bool Config::Parser::ParseAreaRule(OpenSensorArea& area, std::string_view value) {
    const std::string_view word = Text::NextWord(value);
    int32_t x = 0, y = 0, width = 0, height = 0;
    if (Numbers::Scan(word, "(%d,%d,%d,%d)", {x, y, width, height}) != 4) {
        Report(ReaderMessages::kArea, word);
        return false;
    }
    // The sums in 64 bits: the numbers may be anything an int32 holds.
    const bool fits = width >= 1 && height >= 1 && int64_t{x} + width <= 100 && int64_t{y} + height <= 100;
    if (!fits) {
        Report(ReaderMessages::kAreaDefinition, word);
        return false;
    }
    area.enabled = true;
    area.x = static_cast<float>(x) / 100.0f;
    area.y = static_cast<float>(y) / 100.0f;
    area.width = static_cast<float>(width) / 100.0f;
    area.height = static_cast<float>(height) / 100.0f;
    area.label = std::string(value);
    return true;
}

bool Config::Parser::ParseButtonRule(std::string_view name, std::string_view value) {
    const uint32_t code = ControllerButtonCode(name);
    if (code == 0) {
        Report(ReaderMessages::kButton, name);
        return false;
    }
    if (value.empty()) {
        Report(ReaderMessages::kButtonRule, value);
        return false;
    }
    const std::string_view key = Text::NextWord(value);
    config_.mControllerKeys[code] = KeyCodeOf(key);  // kNoKey for a name not in the table
    config_.mControllerLabels[code] = std::string(value);
    return true;
}

}  // namespace Keyweave
