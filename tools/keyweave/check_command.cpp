// keyweave check: every line of a keymap that the engine rejects, compiler
// style, with the engine's own words.

#include <array>

#include "keyweave/dispatch.h"
#include "keyweave/keymap_load.h"

namespace Keyweave::Tool {
namespace {

constexpr std::array<OptionSpec, 1> kOptions = {{{"locale", true}}};

constexpr const char* kHelp =
    "Usage: keyweave check FILE.cfg... [--locale L]\n"
    "\n"
    "Loads each keymap with the engine's own reader and prints every line the\n"
    "engine rejects as FILE:LINE: MESSAGE, in the engine's words, then a count.\n"
    "A rejected line does nothing in the game; the rest of the file still loads.\n"
    "\n"
    "  --locale L   the locale the host sets (selects [strings.L]); default none\n"
    "\n"
    "Exit status: 0 every line is accepted; 1 some line was rejected; 2 a file\n"
    "could not be read (it would not load at all: the host falls back).\n";

const char* Plural(size_t count, const char* one, const char* many) { return count == 1 ? one : many; }

int RunCheck(const Arguments& arguments, Console& console) {
    if (arguments.positional.empty()) {
        console.ErrorLine("keyweave check: Cannot check without a keymap file (see keyweave check --help)");
        return kExitFailed;
    }
    const std::string locale = arguments.Value("locale");
    size_t rejectedLines = 0;
    size_t unreadableFiles = 0;
    for (const std::string& path : arguments.positional) {
        const LoadedKeymap keymap = LoadKeymap(path, locale);
        rejectedLines += keymap.Rejections().size();
        if (!keymap.readable) ++unreadableFiles;
        for (const std::string& line : Diagnostics(keymap)) console.Line(line);
    }
    const size_t files = arguments.positional.size();
    std::string summary = Printf("%zu %s checked: ", files, Plural(files, "file", "files"));
    if (rejectedLines == 0) {
        summary += "no line rejected";
    } else {
        summary += Printf("%zu %s rejected", rejectedLines, Plural(rejectedLines, "line", "lines"));
    }
    if (unreadableFiles != 0) {
        summary += Printf(", %zu %s not be read", unreadableFiles, Plural(unreadableFiles, "file could", "files could"));
    }
    console.Line(summary);
    if (unreadableFiles != 0) return kExitFailed;
    return rejectedLines != 0 ? kExitFaults : kExitDone;
}

}  // namespace

const CommandSpec kCheckCommand{"check", "list the keymap lines the engine rejects, FILE:LINE: MESSAGE", kHelp,
                                kOptions, &RunCheck};

}  // namespace Keyweave::Tool
