// keyweave play: a script of timed host calls, played on a real engine on a
// manual clock, and the timeline of everything the host receives.

#include <array>

#include "common/files.h"
#include "common/printf.h"
#include "common/screen_size.h"
#include "dispatch.h"
#include "keymap/keymap_load.h"
#include "pictures/trail_picture.h"
#include "script/script.h"
#include "script/script_player.h"
#include "timeline/timeline_printer.h"

namespace Keyweave::Tool {
namespace {

constexpr std::array<OptionSpec, 7> kPlayOptions = {{{"svg", true},
                                                     {"screen", true},
                                                     {"json", false},
                                                     {"package", true},
                                                     {"locale", true},
                                                     {"verbose", false},
                                                     {"explain", false}}};

constexpr const char* kPlayHelp =
    "Usage: keyweave play FILE.cfg SCRIPT [--svg OUT.svg] [--screen WxH] [--json]\n"
    "                     [--package NAME] [--locale L] [--verbose] [--explain]\n"
    "\n"
    "Loads the keymap into a real engine running on a manual clock, feeds it the\n"
    "script's host calls at the script's times and prints everything the host\n"
    "receives, one event a line: time in ms since the load, each touch contact\n"
    "that changed (slot, state, x and y in percent of the screen), key bytes,\n"
    "sensor vectors, game-pad notices, shooting-mode calls, summaries and log\n"
    "lines. A contact's state is down (a finger touches), move (it slides), up\n"
    "(it lifts) or lifted (a contact that was already up changed place, as the\n"
    "mouse's slot does when it follows the cursor: the game sees no touch).\n"
    "Script lines are echoed with \"> \" before what they cause. While a keymap\n"
    "loads, only its \"Loading\" and \"Cannot\" lines are shown. A keymap that\n"
    "cannot be loaded falls back to its wild-card keymap, as in the engine.\n"
    "\n"
    "Script lines (positions in percent; KEY as in keymaps; # starts a comment):\n"
    "  wait MS | at MS                       move the clock, running what falls due\n"
    "  press KEY | release KEY | tap KEY     host keyboard keys\n"
    "  controller A..H|Up|Down|Left|Right down|up   on-screen controller buttons\n"
    "  type \"TEXT\"                           typed characters (10 ms each)\n"
    "  mouse X Y | button left|right down|up | click left|right\n"
    "  scroll begin X Y | scroll move DX DY | scroll end\n"
    "  zoom begin X Y | zoom scale FACTOR | zoom end\n"
    "  emulate swipe X Y up|down|left|right | emulate swipe-xy X1 Y1 X2 Y2\n"
    "  emulate pinch X Y in|out | emulate swipe-knobs LENGTH MS\n"
    "  emulate pinch-knobs SPLIT IN OUT MS\n"
    "  shake X Y Z\n"
    "  pad attach ID VID:PID DATABASE | pad report ID X Y Z RX RY RZ HAT BUTTONS\n"
    "  pad detach ID\n"
    "  reload [KEYMAP [PACKAGE]] | locale NAME | mapping on|off | forward-raw on|off\n"
    "  shooting-answer N                     the host's answer to shooting queries\n"
    "  screen WxH                            the guest screen in pixels, over --screen\n"
    "                                        (the first line only)\n"
    "After the last line, whatever is still queued plays to its end.\n"
    "\n"
    "  --svg OUT.svg    also draw every finger's trail over the screen\n"
    "  --screen WxH     the guest screen in pixels; default 1920x1080\n"
    "  --json           print the timeline as JSON lines, one event a line\n"
    "  --package NAME   the package name the host passes; default the file name\n"
    "  --locale L       the locale the host sets before the load\n"
    "  --verbose        every log line, and the engine's verbose game-pad lines\n"
    "  --explain        under each input, what the engine did with it and why\n"
    "                   (\"why\" lines: the rule that played and its line, or why\n"
    "                   nothing happened), and after each load the active keymap\n"
    "\n"
    "The whole script is checked before anything plays: a line that is not a\n"
    "command, an \"at\" behind the waits before it, or a pad that no earlier\n"
    "line attaches stops it there (SCRIPT:LINE: message). An \"at\" that typing\n"
    "or an emulated gesture has already passed stops the play at that line.\n"
    "\n"
    "Exit status: 0 played; 2 the keymap or script could not be read, or a\n"
    "script line is wrong.\n";

int RunPlay(const Arguments& arguments, Console& console) {
    if (arguments.positional.size() != 2) {
        console.ErrorLine("keyweave play: Cannot play without a keymap and a script (see keyweave play --help)");
        return kExitFailed;
    }
    PlayOptions options;
    options.keymapPath = arguments.positional[0];
    const std::string& scriptPath = arguments.positional[1];
    options.package = arguments.Value("package", PackageOfPath(options.keymapPath));
    options.locale = arguments.Value("locale");
    options.verbose = arguments.Has("verbose");
    options.explain = arguments.Has("explain");
    std::string error;
    if (arguments.Has("screen") && !ParseScreenSize(arguments.Value("screen"), options.screen, error)) {
        console.ErrorLine("keyweave play: " + error);
        return kExitFailed;
    }

    std::string scriptText;
    if (!ReadFile(scriptPath, scriptText)) {
        console.ErrorLine(scriptPath + ": Cannot read script file");
        return kExitFailed;
    }
    std::vector<ScriptCommand> commands;
    ScriptError scriptError;
    if (!ParseScript(scriptText, commands, scriptError)) {
        console.ErrorLine(Printf("%s:%u: %s", scriptPath.c_str(), scriptError.line, scriptError.message.c_str()));
        return kExitFailed;
    }
    std::string wildCardNote;
    const LoadedKeymap keymap = LoadKeymapOrWildCard(options.keymapPath, options.locale, wildCardNote);
    if (!wildCardNote.empty()) console.ErrorLine(wildCardNote);
    if (!keymap.readable) {
        for (const std::string& line : Diagnostics(keymap)) console.ErrorLine(line);
        return kExitFailed;
    }

    TakeScriptScreen(commands, options.screen);
    ScriptPlayer player(options);
    const bool played = player.Play(commands, scriptError);
    const std::vector<TimelineEvent> events = player.recorder().Events();
    const bool json = arguments.Has("json");
    for (const TimelineEvent& event : events) console.Line(json ? EventJson(event) : EventText(event));
    if (!played) {
        console.ErrorLine(Printf("%s:%u: %s", scriptPath.c_str(), scriptError.line, scriptError.message.c_str()));
        return kExitFailed;
    }
    if (arguments.Has("svg")) {
        const std::string output = arguments.Value("svg");
        const std::string title = options.keymapPath + " played with " + scriptPath;
        if (!WriteFile(output, DrawTrails(CollectTrails(events), options.screen, title))) {
            console.ErrorLine("keyweave play: Cannot write picture " + output);
            return kExitFailed;
        }
    }
    return kExitDone;
}

}  // namespace

const CommandSpec kPlayCommand{"play", "play a script of host calls on the engine and print the timeline", kPlayHelp,
                               kPlayOptions, &RunPlay};

}  // namespace Keyweave::Tool
