#pragma once
// Loading a keymap the way the engine does, while noting which line of the
// file each of the reader's log lines is about.
//
// The file goes through the engine's own reader (Config::Parser), so what the
// tool reports is exactly what the engine would do; the reader's line counter
// tells which line a message belongs to.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/config.h"

namespace Keyweave::Tool {

struct KeymapMessage {
    uint32_t line;  // 0: about the file as a whole
    std::string text;
};

// A line the reader rejected and what it said about it: the reader's own
// messages, without its entry traces and without the closing
// "Cannot process line" unless nothing else was said.
struct Rejection {
    uint32_t line;
    std::vector<std::string> messages;
};

struct LoadedKeymap {
    std::string path;                 // as given
    std::unique_ptr<Config> config;   // always set; partly filled when !readable
    bool readable = false;            // false: the file could not be opened or read to its end
    std::vector<KeymapMessage> log;   // every line the reader wrote, in order

    std::vector<Rejection> Rejections() const;
    // Why the file could not be read (the reader's last line), when !readable.
    KeymapMessage Failure() const;
};

// Reads the keymap at `path` (UTF-8) with the given engine locale (normalised
// here as the engine does). The game-pad tilt settings and the emulation knobs
// that a keymap may set are read and dropped.
LoadedKeymap LoadKeymap(const std::string& path, const std::string& locale);

// Loads `path` as the engine does when a host names only this file: the file
// itself or, when it cannot be loaded, its wild-card keymap (com.game.lite.cfg
// falls back to com.game.cfg). `note` is left empty when the file itself
// loaded, and otherwise says which file was loaded instead. When neither
// loads, the result is the file's own failure.
LoadedKeymap LoadKeymapOrWildCard(const std::string& path, const std::string& locale, std::string& note);

// Every rejected line's messages, then why the file could not be read (if it
// could not), each as "PATH:LINE: MESSAGE", or "PATH: MESSAGE" when it is
// about the file as a whole. PATH is the path as given.
std::vector<std::string> Diagnostics(const LoadedKeymap& keymap);

// True for the reader's entry traces ("Keyweave::Config::Parser::...(...)").
bool IsTraceLine(const std::string& text);

// The key names of a key set joined by "+", in ascending code order
// ("Ctrl+A").
std::string KeySetLabel(const KeySet& keys);

}  // namespace Keyweave::Tool
