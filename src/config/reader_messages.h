#pragma once
// What the keymap reader says about a keymap's problems: one entry per family
// of messages, each with a stable name for tools and the log line's format
// (exactly one "%s" where the message names text, none otherwise).
//
// The names are what check --json, the diagnostics and the Studio key on; the
// formats are the log lines the engine writes. Rewording a format changes no
// name.

namespace Keyweave::ReaderMessages {

struct ReaderMessage {
    const char* name;
    const char* format;
};

// The file as a whole.
inline constexpr ReaderMessage kOpenFailed{"open-failed", "Cannot open configuration file %s"};
inline constexpr ReaderMessage kReadFailed{"read-failed", "Cannot read line from configuration file"};
// The line as a whole: written after every line that is not accepted.
inline constexpr ReaderMessage kLineRejected{"line-rejected", "Cannot process line: %s"};
inline constexpr ReaderMessage kUtf16Mark{"utf16-bom", "Found unexpected UTF-16 BOM"};
// A notice, not a fault: the line goes on to be read.
inline constexpr ReaderMessage kUtf8Mark{"utf8-bom", "Ignoring UTF-8 BOM"};
// Sections and rules.
inline constexpr ReaderMessage kSectionSpecifier{"invalid-section-specifier", "Invalid section specifier: %s"};
inline constexpr ReaderMessage kSectionName{"invalid-section-name", "Invalid section name: %s"};
inline constexpr ReaderMessage kNoSection{"no-section", "No section specifier for rule '%s'"};
inline constexpr ReaderMessage kNoAssignment{"missing-assignment", "Rule missing assignment operator: %s"};
inline constexpr ReaderMessage kKeySpec{"invalid-key-spec", "Rule with invalid key spec: %s"};
inline constexpr ReaderMessage kKeysRule{"bad-keys-rule", "Cannot parse keys rule: %s"};
// Action texts.
inline constexpr ReaderMessage kInvalidAction{"invalid-action", "Rule with invalid action: %s"};
inline constexpr ReaderMessage kDirection{"bad-direction", "Cannot parse direction: %s"};
inline constexpr ReaderMessage kPoint{"bad-point", "Cannot parse point: %s"};
inline constexpr ReaderMessage kTrailingJunk{"trailing-junk", "Cannot parse trailing junk: %s"};
inline constexpr ReaderMessage kTiltVector{"bad-tilt-vector", "Cannot parse tilt vector: %s"};
inline constexpr ReaderMessage kTiltType{"bad-tilt-type", "Cannot parse tilt type: %s"};
inline constexpr ReaderMessage kTiltTrait{"bad-tilt-trait", "Cannot parse tilt trait: %s"};
// [gamepad] and [gamepad2].
inline constexpr ReaderMessage kRuleJunk{"rule-trailing-junk", "Rule has trailing junk: %s"};
inline constexpr ReaderMessage kAngle{"bad-angle", "Cannot parse angle: %s"};
inline constexpr ReaderMessage kTiltRule{"bad-tilt-rule", "Cannot handle GamePad tilt rule: %s"};
inline constexpr ReaderMessage kInput{"bad-input", "Cannot parse input for line: %s"};
inline constexpr ReaderMessage kTiltInput{"tilt-on-input", "Cannot apply Tilt action to input: %s"};
inline constexpr ReaderMessage kInvalidKey{"invalid-key", "Rule with invalid key: %s"};
// [opensensor].
inline constexpr ReaderMessage kArea{"bad-area", "Cannot parse area: %s"};
inline constexpr ReaderMessage kAreaDefinition{"bad-area-definition", "Bad area definition: %s"};
inline constexpr ReaderMessage kButton{"bad-button", "Bad OpenSensor button %s"};
inline constexpr ReaderMessage kButtonRule{"bad-button-rule", "Bad OpenSensor button rule: %s"};

}  // namespace Keyweave::ReaderMessages
