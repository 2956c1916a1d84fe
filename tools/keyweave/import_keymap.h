#pragma once
// keyweave import: keymaps of other keymappers (JSON) turned into Keyweave
// keymaps. Each mapping becomes the closest rule; whatever has no
// counterpart becomes a comment line saying what was dropped and why.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "keyweave/command_line.h"

namespace Keyweave::Tool::Import {

using Json = nlohmann::json;

// A position in percent of the screen.
struct Spot {
    double x = 0;
    double y = 0;
};

class Keymap {
public:
    // A converted mapping: one or more rules, with the author's note.
    void Rule(const std::string& rule, std::string_view note = {});
    // A mapping with no counterpart.
    void Drop(const std::string& what, const std::string& why);
    // A field of a converted mapping that has no counterpart.
    void DropField(const std::string& what, const std::string& why);
    // Something dropped from the whole file, said once at its top.
    void Notice(const std::string& what, const std::string& why);
    void Count() { ++converted_; }
    void UseShootingMode() { shooting_ = true; }

    std::string Text(const std::string& source, const std::string& format) const;
    size_t converted() const { return converted_; }
    size_t dropped() const { return dropped_; }

private:
    std::vector<std::string> lines_;
    std::vector<std::string> notices_;
    size_t converted_ = 0;
    size_t dropped_ = 0;
    bool shooting_ = false;
};

struct Options {
    std::string profile;  // the older scrcpy-mask form: which profile; empty: the first
    ScreenSize screen;    // pixel positions without a size of their own refer to this
};

// False with a message starting with "Cannot" when the JSON is no keymap of
// that tool. `notes` receives lines for standard error (other profiles).
bool FromQtScrcpy(const Json& root, Keymap& keymap, std::string& error);
bool FromScrcpyMask(const Json& root, const Options& options, Keymap& keymap, std::vector<std::string>& notes,
                    std::string& error);

// A keymap of either tool, as JSON text, told apart by its fields. On success
// `text` is the keymap in Keyweave's syntax, `source` named in its header;
// otherwise false with a message starting with "Cannot".
bool FromJsonText(const std::string& json, const std::string& source, const Options& options, Keymap& keymap,
                  std::string& text, std::vector<std::string>& notes, std::string& error);

// Safe readers: a missing field or one of another type gives the fallback.
const Json& Field(const Json& object, const char* name);
double NumberField(const Json& object, const char* name, double fallback);
std::string StringField(const Json& object, const char* name);

// Numbers and tuples as a keymap writes them: at most two decimals.
std::string Num(double value);
std::string Tuple(std::initializer_list<double> values);
// A percent value kept inside 0..100.
double Clamp(double value, double low, double high);

// Keyweave key names, or "" when the key has none.
std::string KeyFromQt(std::string_view name);
std::string KeyFromBrowser(std::string_view name);

}  // namespace Keyweave::Tool::Import
