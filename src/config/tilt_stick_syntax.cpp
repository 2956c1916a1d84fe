// Action texts of tilts, and the virtual-stick records of [gamepad2]. Stick
// records keep their point and radius in hundredths of a percent, so the
// written values are multiplied by 100 where every other record divides, and
// their sensitivity is written in thousandths.

#include "actions/actions.h"
#include "config/number_reading.h"
#include "config/parser.h"
#include "config/text_utilities.h"
#include "config/tuple_readers.h"

namespace Keyweave {
namespace {

bool Within(float value, float low, float high) { return value >= low && value <= high; }

// "(x,y,r,t)", exactly four values, 0 <= r <= 50 and 0 <= t <= 100.
bool ReadStickTuple(std::string_view tuple, Point& centre, float& radius, float& sensitivity) {
    float x = 0, y = 0, r = 0, t = 0;
    if (Numbers::Scan(tuple, "(%f,%f,%f,%f)", {x, y, r, t}) != 4) return false;
    if (!Within(r, 0.0f, Tuples::kMaxRadius) || !Within(t, 0.0f, 100.0f)) return false;
    centre = {x * 100.0f, y * 100.0f};
    radius = r * 100.0f;
    sensitivity = t / 1000.0f;
    return true;
}

// A remainder modulo 360 with the sign of the angle: -370 is -10, 725 is 5.
float ReduceDegrees(int32_t degrees) { return static_cast<float>(degrees % 360); }

}  // namespace

bool Config::Parser::ReadTiltVector(std::string_view& args, float& pitch, float& roll) {
    const std::string_view word = Text::NextWord(args);
    int32_t p = 0, r = 0;
    if (Numbers::Scan(word, "(%d,%d)", {p, r}) != 2) {
        Report(ReaderMessages::kTiltVector, word);
        return false;
    }
    pitch = ReduceDegrees(p);
    roll = ReduceDegrees(r);
    return true;
}

Config::Parser::Record Config::Parser::ParseTilt(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTiltAction", args);
    const std::string_view type = Text::NextWord(args);
    if (type == "Absolute") return ParseAbsoluteTilt(args);
    if (type == "Relative") return ParseRelativeTilt(args);
    Report(ReaderMessages::kTiltType, type);
    return nullptr;
}

Config::Parser::Record Config::Parser::ParseAbsoluteTilt(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseAbsoluteTiltAction", args);
    float pitch = 0, roll = 0;
    if (!ReadTiltVector(args, pitch, roll)) return nullptr;
    bool returnToLevel = false;
    if (!args.empty()) {
        const std::string_view trait = Text::NextWord(args);
        if (trait != "Return") {
            Report(ReaderMessages::kTiltTrait, trait);
            return nullptr;
        }
        if (!NoTrailingJunk(args)) return nullptr;
        returnToLevel = true;
    }
    return std::make_unique<AbsoluteTiltAction>(pitch, roll, returnToLevel);
}

Config::Parser::Record Config::Parser::ParseRelativeTilt(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseRelativeTiltAction", args);
    float pitch = 0, roll = 0;
    if (!ReadTiltVector(args, pitch, roll)) return nullptr;
    if (!NoTrailingJunk(args)) return nullptr;
    return std::make_unique<RelativeTiltAction>(pitch, roll);
}

Config::Parser::Record Config::Parser::ParseStickMove(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseStickhMoveAction", args);
    Point start = kScreenCentre;
    float sensitivity = 0.0f;
    const bool read = ReadArguments(args, [&](std::string_view tuple) {
        float x = 0, y = 0, t = 0;
        if (Numbers::Scan(tuple, "(%f,%f,%f)", {x, y, t}) != 3 || !Within(t, 0.0f, 100.0f)) return false;
        start = {x * 100.0f, y * 100.0f};
        sensitivity = t / 1000.0f;
        return true;
    });
    if (!read) return nullptr;
    return std::make_unique<StickMoveAction>(start, sensitivity);
}

Config::Parser::Record Config::Parser::ParseStickHold(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseStickHoldeAction", args);
    Point centre = kScreenCentre;
    float radius = 0.0f, sensitivity = 0.0f;
    if (!ReadArguments(args,
                       [&](std::string_view tuple) { return ReadStickTuple(tuple, centre, radius, sensitivity); })) {
        return nullptr;
    }
    return std::make_unique<StickHoldAction>(centre, radius, sensitivity);
}

Config::Parser::Record Config::Parser::ParseTapStick(std::string_view args) {
    Trace("Keyweave::Config::Parser::ParseTapStickeAction", args);
    Point centre = kScreenCentre;
    float radius = 0.0f, sensitivity = 0.0f;
    if (!ReadArguments(args,
                       [&](std::string_view tuple) { return ReadStickTuple(tuple, centre, radius, sensitivity); })) {
        return nullptr;
    }
    return std::make_unique<TapStickAction>(centre, radius, sensitivity);
}

}  // namespace Keyweave
