#pragma once
// What the Studio page asks of the engine, as calls that take and give text:
// reading a keymap into its picture, its bindings and its diagnostics,
// importing another keymapper's JSON, playing a script, and the try-it mode,
// in which the page makes up a play script as the author presses keys and
// the engine plays each line as it comes, on a manual clock that the page
// moves every animation frame. Everything runs on the page's one thread.
//
// Files (keymaps, game-pad databases) live in the module's memory file
// system under the names the page gives them, so that the engine and the
// keyweave command's pieces read them as they read files anywhere.

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "common/screen_size.h"
#include "script/script_player.h"

namespace Keyweave::Studio {

class Session {
public:
    Session();
    ~Session();

    void SetScreen(int32_t width, int32_t height);

    // Stores a file under `name` (folders dropped); returns the path, or ""
    // with nothing stored when it cannot be written.
    std::string Store(const std::string& name, const std::string& text);

    // Reads the stored keymap `name`: {"readable", "svg", "bindings":
    // [{"keys","kind","x","y","radius"}], "diagnostics": [check's JSON],
    // "unlisted"}. `background` is a URL the picture shows under the
    // bindings; "svg" is null when the picture is the one the last answer
    // sent.
    std::string Open(const std::string& name, const std::string& background);

    // A QtScrcpy or scrcpy-mask keymap as keymap text: {"ok","text",
    // "converted","dropped","notes"} or {"ok":false,"error"}.
    std::string Import(const std::string& name, const std::string& json);

    // Plays `script` on the stored keymap `name`, as keyweave play does:
    // {"ok", "error", "events": [{"json": event, "text": line}]}.
    std::string Play(const std::string& name, const std::string& script);

    // Try-it mode on the stored keymap `name`; ends the one before. Its
    // events include the engine's decisions ("why").
    std::string LiveStart(const std::string& name);
    // One script line, played now; "" or why it cannot be played.
    std::string LiveLine(const std::string& line);
    // Moves the clock to `ms` after the load (never back).
    void LiveAdvance(double ms);
    // When the engine's next queued step falls due, in ms after the load;
    // -1 when nothing is queued. A host that plays in real time sets a timer
    // for it instead of waiting for the next drawn frame.
    double LiveNextDue() const;
    // The events since the last call, as Play lists them.
    std::string LiveEvents();
    // Plays what is still queued; the events since the last call.
    std::string LiveFinish();
    // The lines played so far, as a script keyweave play reads.
    const std::string& LiveScript() const { return script_; }

private:
    std::string PathOf(const std::string& name) const;

    std::string picture_;     // the last picture Open sent
    std::string pictureKey_;  // what it was drawn from
    std::string pictureBackground_;
    Tool::ScreenSize screen_;
    std::unique_ptr<Tool::ScriptPlayer> live_;
    std::string script_;
    uint32_t lines_ = 0;
    std::set<int32_t> pads_;  // attached in try-it mode
    size_t delivered_ = 0;
};

}  // namespace Keyweave::Studio
