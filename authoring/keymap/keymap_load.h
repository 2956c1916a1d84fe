#pragma once
// Loading a keymap the way the engine does, while keeping the reader's
// records of what it found wrong, each with its line.
//
// The file goes through the engine's own reader (Config::Parser), so what the
// tool reports is exactly what the engine would do, in its words.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/config.h"

namespace Keyweave::Tool {

struct KeymapMessage {
    uint32_t line;     // 0: about the file as a whole
    std::string text;  // the engine's log line
    std::string name;  // the reader's stable name of the message
};

// A line the reader rejected and what it said about it: the reader's own
// messages, without the closing "line rejected" unless nothing else was said.
struct Rejection {
    uint32_t line;
    std::vector<std::string> messages;
};

struct LoadedKeymap {
    std::string path;                 // as given
    std::unique_ptr<Config> config;   // always set; partly filled when !readable
    bool readable = false;            // false: the file could not be opened or read to its end
    std::vector<KeymapMessage> said;  // every record of the reader, in order

    [[nodiscard]] std::vector<Rejection> Rejections() const;
    // Why the file could not be read (the reader's last record), when !readable.
    [[nodiscard]] KeymapMessage Failure() const;
};

// Reads the keymap at `path` (UTF-8) with the given engine locale (normalised
// here as the engine does). The game-pad tilt settings and the emulation knobs
// that a keymap may set are read and dropped.
[[nodiscard]] LoadedKeymap LoadKeymap(const std::string& path, const std::string& locale);

// Loads `path` as the engine does when a host names only this file: the file
// itself or, when it cannot be loaded, its wild-card keymap (com.game.lite.cfg
// falls back to com.game.cfg). `note` is left empty when the file itself
// loaded, and otherwise says which file was loaded instead. When neither
// loads, the result is the file's own failure.
[[nodiscard]] LoadedKeymap LoadKeymapOrWildCard(const std::string& path, const std::string& locale, std::string& note);

// Every rejected line's messages, then why the file could not be read (if it
// could not), each as "PATH:LINE: MESSAGE", or "PATH: MESSAGE" when it is
// about the file as a whole. PATH is the path as given.
[[nodiscard]] std::vector<std::string> Diagnostics(const LoadedKeymap& keymap);

// The key names of a key set joined by "+", in ascending code order
// ("Ctrl+A").
[[nodiscard]] std::string KeySetLabel(const KeySet& keys);

// The file name without its folders and without a ".cfg" ending: what a
// host names the package of a keymap file.
[[nodiscard]] std::string PackageOfPath(const std::string& path);

}  // namespace Keyweave::Tool
