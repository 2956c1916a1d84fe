// Header directives: the "#" lines that switch configuration flags on or set
// values before the sections. A "#" line that is none of them is a comment.

#include <iterator>

#include "actions/touch_actions.h"
#include "config/emulation_knobs.h"
#include "config/number_reading.h"
#include "config/parser.h"
#include "config/text_utilities.h"
#include "config/tuple_readers.h"

namespace Keyweave {

bool Config::Parser::ProcessDirective(std::string_view line) {
    // Each directive gets the text after its own characters. Rows are tried in
    // order; an exact row matches only the whole (trimmed) line.
    using Apply = bool (*)(Parser & parser, std::string_view rest);
    struct Directive {
        std::string_view text;
        bool prefix;
        Apply apply;
    };
    static constexpr Directive kDirectives[] = {
        {"# MODE", true,
         [](Parser& p, std::string_view) {
             // The mode named after "=" is not used.
             p.context_.log.Write("Parsing controller mode...");
             return true;
         }},
        {"# ALWAYS_SEND_UNMAPPED_KEY", false,
         [](Parser& p, std::string_view) {
             p.config_.mAlwaysSendUnmappedKey = true;
             p.context_.log.Write("mAlwaysSendUnmappedKey -> true");
             return true;
         }},
        {"# ENABLE_SHOOTING_MODE", false,
         [](Parser& p, std::string_view) {
             p.config_.mEnableShootingMode = 1;
             p.config_.mShootingModeActive = 0;
             p.context_.log.Write("mEnableShootingMode -> true");
             return true;
         }},
        {"# SHOOTING_MODE_1", false,
         [](Parser& p, std::string_view) {
             p.config_.mShootingModeType = ShootingMode::kLook;
             p.context_.log.Write("mShootingModeType -> 1");
             return true;
         }},
        {"# SHOOTING_MODE_2", false,
         [](Parser& p, std::string_view) {
             p.config_.mShootingModeType = ShootingMode::kFireFingerAims;
             p.context_.log.Write("mShootingModeType -> 2");
             return true;
         }},
        {"# SHOOTING_MODE_3", false,
         [](Parser& p, std::string_view) {
             p.config_.mShootingModeType = ShootingMode::kSlowedAim;
             p.context_.log.Write("mShootingModeType -> 3");
             return true;
         }},
        {"# SHOOTING_MODE_4", false,
         [](Parser& p, std::string_view) {
             p.config_.mShootingModeType = ShootingMode::kRecentreAtEdge;
             p.context_.log.Write("mShootingModeType -> 4");
             return true;
         }},
        {"# ENABLE_SINGLE_TOUCH_SHOOTING_MODE", false,
         [](Parser& p, std::string_view) {
             p.config_.mEnableSingleTouchShootingMode = 1;
             p.context_.log.Write("mEnableSingleTouchShootingMode -> true");
             return true;
         }},
        {"# CLIP_RECTANGLE", true,
         [](Parser& p, std::string_view rest) {
             p.ReadClipRectangle(rest);
             return true;
         }},
        {"# SWIPE_PINCH", true,
         [](Parser& p, std::string_view rest) {
             p.ReadSwipePinch(rest);
             return true;
         }},
        {"# ENABLE_SPACE_SHOOTER_MODE", false,
         [](Parser& p, std::string_view) {
             p.config_.mEnableSpaceShooterMode = 1;
             p.context_.log.Write("mEnableSpaceShooterMode -> true");
             return true;
         }},
        {"# ENABLE_DYNAMIC_DPAD", false,
         [](Parser& p, std::string_view) {
             p.config_.mEnableDynamicDpad = 1;
             p.context_.log.Write("mEnableDynamicDpad -> true");
             return true;
         }},
        {"# ENABLE_DYNAMIC_ZOOM", false,
         [](Parser& p, std::string_view) {
             p.config_.mEnableDynamicZoom = 1;
             p.context_.log.Write("mEnableDynamicZoom -> true");
             return true;
         }},
        {"# ENABLE_LOCATION_UPDATION_WITH_KEYMAP", false,
         [](Parser& p, std::string_view) {
             p.config_.mEnableLocationUpdationWithKeyMap = 1;
             p.context_.log.Write("mEnableLocationUpdationWithKeyMap -> true");
             return true;
         }},
        {"# SCREEN_CENTER_CUSTOM", true, [](Parser& p, std::string_view rest) { return p.ReadScreenCenter(rest); }},
    };

    for (const Directive& directive : kDirectives) {
        const bool matches = directive.prefix ? line.starts_with(directive.text) : line == directive.text;
        if (matches) return directive.apply(*this, line.substr(directive.text.size()));
    }
    return true;  // a comment
}

void Config::Parser::ReadClipRectangle(std::string_view values) {
    // The tuple must follow the directive at once: "(" is matched against the
    // first character after it, so a blank there leaves the defaults.
    if (values.empty()) return;
    ClipRectangle clip;
    int32_t* v = clip.values;
    Numbers::Scan(values, "(%d,%d,%d,%d)", {v[0], v[1], v[2], v[3]});
    config_.mClipRectangle = clip;
}

void Config::Parser::ReadSwipePinch(std::string_view values) {
    if (values.empty()) return;
    const EmulationKnobs defaults;
    float swipeLength = defaults.swipeLength, split = defaults.pinchSplit;
    float lengthIn = defaults.pinchLengthIn, lengthOut = defaults.pinchLengthOut;
    int32_t swipeDuration = static_cast<int32_t>(defaults.swipeDuration), pinchDuration = defaults.pinchDuration;
    Numbers::Scan(values, "(%f,%d,%f,%f,%f,%d)",
                  {swipeLength, swipeDuration, split, lengthIn, lengthOut, pinchDuration});
    if (context_.knobs == nullptr) return;
    EmulationKnobs& knobs = *context_.knobs;
    knobs.swipeLength = swipeLength;
    knobs.swipeDuration = static_cast<uint32_t>(swipeDuration);
    knobs.pinchSplit = split;
    knobs.pinchLengthIn = lengthIn;
    knobs.pinchLengthOut = lengthOut;
    knobs.pinchDuration = pinchDuration;
}

bool Config::Parser::ReadScreenCenter(std::string_view rest) {
    // The point is everything from the first "(" on, blanks before it allowed.
    const size_t open = rest.find('(');
    if (open == std::string_view::npos) {
        Report(ReaderMessages::kPoint, Text::TrimLeft(rest));
        return false;
    }
    const std::string_view tuple = rest.substr(open);
    Point point;
    float radius = 0;
    if (!Tuples::ReadPointRadius(tuple, point, radius)) {
        Report(ReaderMessages::kPoint, tuple);
        return false;
    }
    config_.mScreenCenter = static_cast<ScreenAction*>(config_.Adopt(std::make_unique<ScreenAction>(point, radius)));
    return true;
}

}  // namespace Keyweave
