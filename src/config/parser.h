#pragma once
// Keyweave::Config::Parser: reads one keymap file into a fresh configuration.
//
// A keymap is 8-bit text, one directive or rule a line. Lines starting with
// "#" are header directives or comments, lines starting with "[" open a
// section, and every other line is a rule of the current section, whose
// action texts become records that the configuration adopts. A line that
// fails is logged and skipped; only a file that cannot be opened or read to
// its end fails the load.
//
// A parser lives for one load, on the loading thread. Besides the
// configuration it writes two things outside it, both passed in through the
// context: the emulation knobs ("# SWIPE_PINCH") and the accelerometer's
// game-pad tilt settings ([gamepad] Tilt_* rules).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "actions/action.h"
#include "base/text.h"
#include "config/config.h"
#include "config/parse_context.h"
#include "config/reader_messages.h"

namespace Keyweave {

class LineReader;

class Config::Parser {
public:
    // The current section: which grammar the rules below a header follow.
    enum Section : uint32_t {
        kNoSection = 0,  // none yet, or after an invalid header: every rule fails
        kOrigin = 1,     // accepted and ignored
        kKeys = 2,
        kGuidance = 3,  // accepted and ignored
        kGamePad = 4,
        kGamePad2 = 5,
        kOpenSensor = 6,
        kOtherStrings = 7,  // strings of another locale: accepted and ignored
        kStrings = 8,
        kLocalStrings = 9,  // strings of the engine locale
    };

    Parser(Config& config, ParseContext context) : config_(config), context_(std::move(context)) {}

    // Reads the whole file into the configuration. False when the file cannot
    // be opened or read to its end; lines that fail on their own are logged
    // and skipped.
    [[nodiscard]] bool Load(const WideChar* path);

    // Reads keymap text that is already in memory, as Load reads a file (the
    // same lines, limits and messages, without opening anything).
    [[nodiscard]] bool LoadText(std::string_view text);

    // One raw line of the file, as read; false (after logging why) when it
    // cannot be used.
    [[nodiscard]] bool ProcessLine(std::string_view rawLine);

    [[nodiscard]] Section CurrentSection() const { return section_; }

    // The number of the line being read, counting from 1. While a line is
    // processed it is that line's number, so a log sink can tell which line a
    // message is about; after Load it is one past the last line read (the
    // line that could not be read, when reading failed).
    [[nodiscard]] uint32_t LineNumber() const { return lineNumber_; }

    // One action text, as written right of "=" in a [keys] rule; null (after
    // logging why) when it does not make a record.
    [[nodiscard]] std::unique_ptr<Action> ParseKeyAction(std::string_view text);

private:
    using Record = std::unique_ptr<Action>;

    // Every line of `reader`, then the shooting-mode completion: the part of
    // a load after the file is open.
    [[nodiscard]] bool ReadLines(LineReader& reader);

    // Logs `message` with `text` (its "%s", if it has one) and hands the same
    // line to the observer as a record. The record's column and length are
    // those of `span` in the line being read (`text` when `span` is empty);
    // none when it is not a piece of that line.
    void Report(const ReaderMessages::ReaderMessage& message, std::string_view text = {},
                std::string_view span = {}) const;

    // Header directives (directives.cpp).
    [[nodiscard]] bool ProcessDirective(std::string_view line);
    void ReadClipRectangle(std::string_view values);
    void ReadSwipePinch(std::string_view values);
    [[nodiscard]] bool ReadScreenCenter(std::string_view rest);

    // Section headers and rules (sections.cpp, gamepad_sections.cpp,
    // opensensor_section.cpp).
    [[nodiscard]] bool ProcessSectionHeader(std::string_view line);
    [[nodiscard]] bool ProcessRule(std::string_view rule);
    [[nodiscard]] bool ParseKeysRule(std::string_view rule);
    [[nodiscard]] bool ParseGamePadRule(std::string_view rule);
    [[nodiscard]] bool ParseGamePadCursorRule(std::string_view rule);
    [[nodiscard]] bool ParseGamePadTiltRule(std::string_view rule);
    [[nodiscard]] bool ParseGamePadKeyRule(std::string_view rule);
    [[nodiscard]] bool ParseGamePadActionRule(std::string_view rule);
    [[nodiscard]] bool ParseOpenSensorRule(std::string_view rule);
    [[nodiscard]] bool ParseAreaRule(OpenSensorArea& area, std::string_view value);
    [[nodiscard]] bool ParseButtonRule(std::string_view name, std::string_view value);
    [[nodiscard]] bool ParseStringRule(std::string_view rule, std::map<std::string, std::string>& strings);
    // Takes the next word of `rest` and checks that it is "=".
    [[nodiscard]] bool ExpectAssignment(std::string_view rule, std::string_view& rest);
    // A game-pad rule's control name and its "=", read from the front of
    // `rest`; false, logged, when either is missing.
    [[nodiscard]] bool ExpectControlAssignment(std::string_view rule, std::string_view& rest, uint32_t& control);

    // Action texts (action_syntax.cpp, tilt_stick_syntax.cpp).
    // Each takes the argument text after its keyword.
    [[nodiscard]] Record ParseKey(std::string_view args);
    [[nodiscard]] Record ParseTap(std::string_view args);
    [[nodiscard]] Record ParseSwipe(std::string_view args);
    [[nodiscard]] Record ParseSwipeXY(std::string_view args);
    [[nodiscard]] Record ParseSwipeTrace(std::string_view args);
    [[nodiscard]] Record ParseSwipeHold(std::string_view args);
    [[nodiscard]] Record ParseTilt(std::string_view args);
    [[nodiscard]] Record ParseAbsoluteTilt(std::string_view args);
    [[nodiscard]] Record ParseRelativeTilt(std::string_view args);
    [[nodiscard]] Record ParseMouseSwipe(std::string_view args);
    [[nodiscard]] Record ParseTapSwipe(std::string_view args);
    [[nodiscard]] Record ParseTapTap(std::string_view args);
    [[nodiscard]] Record ParseMouseHold(std::string_view args);
    [[nodiscard]] Record ParseTapSwipeClick(std::string_view args);
    [[nodiscard]] Record ParseTouchMove(std::string_view args);
    [[nodiscard]] Record ParseTapCancel(std::string_view args);
    [[nodiscard]] Record ParseShootMode(std::string_view args);
    [[nodiscard]] Record ParseShootMove(std::string_view args);
    [[nodiscard]] Record ParseSuspendShoot(std::string_view args);
    [[nodiscard]] Record ParseTapsMacro(std::string_view args);
    [[nodiscard]] Record ParseStickMove(std::string_view args);
    [[nodiscard]] Record ParseStickHold(std::string_view args);
    [[nodiscard]] Record ParseTapStick(std::string_view args);

    // Shared steps of the action parsers.
    // Logs "<name>(<args>)", the first line of every keyword's parser.
    void Trace(const char* name, std::string_view args) const;
    // Takes the "(pitch,roll)" word off `args`, in whole degrees, each
    // reduced modulo 360.
    [[nodiscard]] bool ReadTiltVector(std::string_view& args, float& pitch, float& roll);
    // Takes a direction word off `args`.
    [[nodiscard]] bool ParseDirection(std::string_view& args, uint32_t& direction);
    // The arguments of most keywords: nothing at all (the record keeps its
    // defaults), or one tuple word that `read` accepts and nothing after it.
    [[nodiscard]] bool ReadArguments(std::string_view args, const std::function<bool(std::string_view tuple)>& read);
    // True when nothing is left; otherwise logs the leftover text.
    [[nodiscard]] bool NoTrailingJunk(std::string_view rest);

    Config& config_;
    const ParseContext context_;  // a copy: cheap, and never dangles
    WideString path_;
    Section section_ = kNoSection;
    uint32_t lineNumber_ = 0;
    std::string_view rawLine_;  // the line being read, for the column of a report
    std::string fileUtf8_;      // path_ in UTF-8, made only for an observer
};

}  // namespace Keyweave
