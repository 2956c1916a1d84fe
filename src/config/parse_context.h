#pragma once
// What reading a keymap needs from outside the configuration it fills.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "base/log.h"

namespace Keyweave {

class Accelerometer;
class Action;
struct EmulationKnobs;

// One thing the reader says about a keymap, as a record: where it is and which
// family of message it is. The log line is made from the same record, so
// `message` is that line word for word.
struct ReaderDiagnostic {
    std::string_view file;     // the keymap's path, UTF-8; empty for text read from memory
    uint32_t line = 0;         // from 1; 0: about the file as a whole
    uint32_t column = 0;       // from 1, in bytes of the raw line; 0: no one piece of text is at fault
    uint32_t length = 0;       // bytes of the offending text from `column`
    std::string_view name;     // the family's stable name (config/reader_messages.h)
    std::string_view message;  // the log line
};

// Told what the reader saw, line by line, for tools that explain a keymap to
// its author. The engine loads with none; watching changes nothing.
class ParseObserver {
public:
    virtual ~ParseObserver() = default;
    // Every line read, with its number (from 1), its raw text, the section it
    // was read in (after a header line: the section it opened) and whether it
    // was accepted.
    virtual void LineRead(uint32_t line, std::string_view raw, uint32_t section, bool accepted) = 0;
    // A [keys] rule stored for `keys`, replacing any earlier rule of that set.
    virtual void KeyRuleStored(uint32_t line, const std::set<uint32_t>& keys, const std::set<Action*>& actions) = 0;
    // A [gamepad2] rule stored for a control.
    virtual void GamePadActionStored(uint32_t line, uint32_t control, const Action& action) = 0;
    // Every problem the reader reports, and the notice of a UTF-8 byte-order
    // mark, as the log line is written. Nothing else of the log comes here
    // (entry traces, flags switched on, the dump).
    virtual void Diagnostic(const ReaderDiagnostic& diagnostic) = 0;
};

struct ParseContext {
    // Every message of the reader goes here.
    const Log& log;
    // The engine locale, already normalised ("en_us"): selects the
    // [strings.<locale>] section whose texts the configuration keeps. Empty:
    // none does.
    std::string locale;
    // Set by "# SWIPE_PINCH". Null for tools that only check a file.
    EmulationKnobs* knobs = nullptr;
    // Receives the [gamepad] Tilt_* settings. Null for tools that only check
    // a file.
    Accelerometer* accelerometer = nullptr;
    // Told what the reader saw. Null when loading for the engine.
    ParseObserver* observer = nullptr;
};

}  // namespace Keyweave
