#pragma once
// keyweave import: keymaps of other keymappers (JSON, or a PlayCover XML
// property list) turned into Keyweave keymaps. Each mapping becomes the
// closest rule; whatever has no counterpart becomes a comment line saying what
// was dropped and why. A source's note on a mapping becomes the comment at the
// end of its first rule, where the Studio shows it as its label.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "common/screen_size.h"

namespace Keyweave::Tool::Import {

// The mouse-look sensitivity (percent) an import gives when the source's own
// speed is 1: the engine's usual pace for a mouse.
inline constexpr double kLookSensitivity = 35;

using Json = nlohmann::json;

// A position in percent of the screen.
struct Spot {
    double x = 0;
    double y = 0;
};

class Keymap {
public:
    // One rule of a converted mapping, with the author's note at its end. A rule
    // whose keys an earlier rule binds already is not written: it becomes a
    // "# dropped:" line, counted as a dropped mapping, or as a dropped field
    // when it is `part` of a mapping (one key of a pad), and the result is
    // false.
    [[nodiscard]] bool Rule(const std::string& rule, std::string_view note = {}, bool part = false);
    // A mapping with no counterpart.
    void Drop(const std::string& what, const std::string& why);
    // A field (or `count` fields named together) of a converted mapping that
    // has no counterpart.
    void DropField(const std::string& what, const std::string& why, size_t count = 1);
    // Something dropped from the whole file, said once at its top.
    void Notice(const std::string& what, const std::string& why);
    // A line of the header about the whole file (where it came from).
    void About(const std::string& line) { about_.push_back(line); }
    void Count() { ++converted_; }
    void UseShootingMode() { shooting_ = true; }
    // Whether a rule binds these keys already ("Shift,C" is "C,Shift").
    [[nodiscard]] bool Bound(const std::string& keys) const;

    [[nodiscard]] std::string Text(const std::string& source, const std::string& format) const;
    [[nodiscard]] size_t converted() const { return converted_; }
    [[nodiscard]] size_t dropped() const { return dropped_; }
    [[nodiscard]] size_t fieldsDropped() const { return fieldsDropped_; }
    // "9 mappings converted, 3 dropped, 4 fields dropped"
    [[nodiscard]] std::string Summary() const;

private:
    std::vector<std::string> lines_;
    std::vector<std::string> notices_;
    std::vector<std::string> about_;
    std::vector<std::string> bound_;  // the key sets of the rules written, sorted
    size_t converted_ = 0;
    size_t dropped_ = 0;
    size_t fieldsDropped_ = 0;
    bool shooting_ = false;
};

struct Options {
    std::string profile;  // the older scrcpy-mask form: which profile; empty: the first
    ScreenSize screen;    // pixel positions without a size of their own refer to this
};

// False with a message starting with "Cannot" when the JSON is no keymap of
// that tool. `notes` receives lines for standard error (other profiles).
[[nodiscard]] bool FromQtScrcpy(const Json& root, Keymap& keymap, std::string& error);
[[nodiscard]] bool FromScrcpyMask(const Json& root, const Options& options, Keymap& keymap,
                                  std::vector<std::string>& notes, std::string& error);
// `root` is the property list read as JSON (dictionaries as objects).
[[nodiscard]] bool FromPlayCover(const Json& root, Keymap& keymap, std::string& error);

// A keymap of any of these tools, as text: XML is a PlayCover property list,
// JSON is told apart by its fields. On success `text` is the keymap in
// Keyweave's syntax, `source` named in its header; otherwise false with a
// message starting with "Cannot".
[[nodiscard]] bool FromText(const std::string& content, const std::string& source, const Options& options,
                            Keymap& keymap, std::string& text, std::vector<std::string>& notes, std::string& error);

// The one reach r of a direction pad whose source gives each direction its
// own: left and right in percent of the width, up and down in percent of the
// height. The pad moves r sideways and 1.6 r up and down; the largest reach
// wins (a finger pushed past a stick's rim still walks at full speed, one
// short of it walks slowly). Directions that get another reach than their own
// are named in a "# dropped:" line of `what`.
[[nodiscard]] double PadReach(const std::string& what, double left, double right, double up, double down,
                              Keymap& keymap);

// Safe readers: a missing field or one of another type gives the fallback.
[[nodiscard]] const Json& Field(const Json& object, const char* name);
[[nodiscard]] double NumberField(const Json& object, const char* name, double fallback);
[[nodiscard]] std::string StringField(const Json& object, const char* name);

// Numbers and tuples as a keymap writes them: at most two decimals.
[[nodiscard]] std::string Num(double value);
[[nodiscard]] std::string Tuple(std::initializer_list<double> values);
// A percent value kept inside 0..100.
[[nodiscard]] double Clamp(double value, double low, double high);

// Keyweave key names, or "" when the key has none.
[[nodiscard]] std::string KeyFromQt(std::string_view name);
[[nodiscard]] std::string KeyFromBrowser(std::string_view name);
// A USB HID keyboard usage, or a mouse button as a negative number.
[[nodiscard]] std::string KeyFromHid(long long code);

}  // namespace Keyweave::Tool::Import
