// keyweave dump: the configuration dump the engine writes to its log after a
// load, and the summary text the host receives.

#include <array>

#include "base/log.h"
#include "config/dump.h"
#include "dispatch.h"
#include "keymap/keymap_load.h"

namespace Keyweave::Tool {
namespace {

constexpr std::array<OptionSpec, 2> kDumpOptions = {{{"package", true}, {"locale", true}}};

constexpr const char* kDumpHelp =
    "Usage: keyweave dump FILE.cfg [--package NAME] [--locale L]\n"
    "\n"
    "Loads the keymap with the engine's own reader and prints the configuration\n"
    "dump (every key rule with its actions, as the engine's log shows it), then\n"
    "the summary line the host receives after the load. Rejected lines are\n"
    "listed on stderr as FILE:LINE: MESSAGE. A file that cannot be loaded falls\n"
    "back to its wild-card keymap, as in the engine (com.game.lite.cfg to\n"
    "com.game.cfg); stderr then says which file was loaded.\n"
    "\n"
    "  --package NAME   the package name the host passes; default the file name\n"
    "                   without folders and \".cfg\"\n"
    "  --locale L       the locale the host sets (selects [strings.L]); default none\n"
    "\n"
    "Exit status: 0 dumped; 2 the file could not be read.\n";

void ToConsole(void* console, const char* line) { static_cast<Console*>(console)->Line(line); }

int RunDump(const Arguments& arguments, Console& console) {
    if (arguments.positional.size() != 1) {
        console.ErrorLine("keyweave dump: Cannot dump without exactly one keymap file (see keyweave dump --help)");
        return kExitFailed;
    }
    const std::string& path = arguments.positional.front();
    std::string wildCardNote;
    const LoadedKeymap keymap = LoadKeymapOrWildCard(path, arguments.Value("locale"), wildCardNote);
    if (!wildCardNote.empty()) console.ErrorLine(wildCardNote);
    for (const std::string& line : Diagnostics(keymap)) console.ErrorLine(line);
    if (!keymap.readable) return kExitFailed;
    keymap.config->SetPackage(arguments.Value("package", PackageOfPath(path)));
    Log log;
    log.SetSink(&ToConsole, &console, false);
    DumpToLog(*keymap.config, log);
    console.Line("Summary: " + SummaryText(*keymap.config));
    return kExitDone;
}

}  // namespace

const CommandSpec kDumpCommand{"dump", "print the configuration dump and the summary the host receives", kDumpHelp,
                               kDumpOptions, &RunDump};

}  // namespace Keyweave::Tool
