// keyweave render: the picture of a keymap over the guest screen.

#include <array>

#include "common/files.h"
#include "common/screen_size.h"
#include "console.h"
#include "dispatch.h"
#include "keymap/keymap_load.h"
#include "pictures/background_image.h"
#include "pictures/keymap_picture.h"

namespace Keyweave::Tool {
namespace {

constexpr std::array<OptionSpec, 4> kRenderOptions = {
    {{"svg", true}, {"screen", true}, {"locale", true}, {"background", true}}};

constexpr const char* kRenderHelp =
    "Usage: keyweave render FILE.cfg --svg OUT.svg [--screen WxH] [--locale L]\n"
    "                       [--background SCREENSHOT.png]\n"
    "\n"
    "Draws the keymap over the guest screen as an SVG picture: every binding\n"
    "where it touches, labelled with its keys (Ctrl+A; Pad A for game-pad\n"
    "controls): taps, double taps, swipe arrows, swipe traces, the direction\n"
    "pad's cross with its reach, joystick and mouse-swipe circles, mouse-hold\n"
    "rectangles, numbered macro taps, the shooting mode's aim and fire points,\n"
    "the on-screen controller's areas. Keys sent, tilts and game-pad key rules\n"
    "are listed below the screen. Hover a binding to see the engine's own\n"
    "description of it. Rejected lines are listed on stderr.\n"
    "\n"
    "  --svg OUT.svg   where to write the picture (required)\n"
    "  --screen WxH    the guest screen in pixels; default 1920x1080\n"
    "  --locale L      the locale the host sets (selects [strings.L]); default none\n"
    "  --background SCREENSHOT.png\n"
    "                  a screenshot of the game (PNG or JPEG), embedded under the\n"
    "                  bindings and stretched to the screen size, to see that each\n"
    "                  binding sits on its button\n"
    "\n"
    "Exit status: 0 drawn; 2 the keymap or the screenshot could not be read, or\n"
    "the picture not written.\n";

int RunRender(const Arguments& arguments, Console& console) {
    if (arguments.positional.size() != 1 || !arguments.Has("svg")) {
        console.ErrorLine(
            "keyweave render: Cannot draw without one keymap file and --svg OUT.svg "
            "(see keyweave render --help)");
        return kExitFailed;
    }
    ScreenSize screen;
    std::string error;
    if (arguments.Has("screen") && !ParseScreenSize(arguments.Value("screen"), screen, error)) {
        console.ErrorLine("keyweave render: " + error);
        return kExitFailed;
    }
    std::string background;
    if (arguments.Has("background") && !ReadBackground(arguments.Value("background"), background, error)) {
        console.ErrorLine("keyweave render: " + error);
        return kExitFailed;
    }
    const std::string& path = arguments.positional.front();
    const LoadedKeymap keymap = LoadKeymap(path, arguments.Value("locale"));
    for (const std::string& line : Diagnostics(keymap)) console.ErrorLine(line);
    if (!keymap.readable) return kExitFailed;
    const std::string picture = DrawKeymap(*keymap.config, {screen, path, background});
    const std::string output = arguments.Value("svg");
    if (!WriteFile(output, picture)) {
        console.ErrorLine("keyweave render: Cannot write picture " + output);
        return kExitFailed;
    }
    return kExitDone;
}

}  // namespace

const CommandSpec kRenderCommand{"render", "draw the keymap over the screen as an SVG picture", kRenderHelp,
                                 kRenderOptions, &RunRender};

}  // namespace Keyweave::Tool
