// keyweave import: a QtScrcpy or scrcpy-mask keymap (JSON) or a PlayCover
// keymap (.playmap, an XML property list) as a Keyweave keymap.

#include <array>
#include <exception>

#include "common/files.h"
#include "common/printf.h"
#include "common/screen_size.h"
#include "diagnostics/diagnostics.h"
#include "dispatch.h"
#include "import/import_keymap.h"

namespace Keyweave::Tool {
namespace {

constexpr std::array<OptionSpec, 3> kImportOptions = {{{"o", true}, {"profile", true}, {"screen", true}}};

constexpr const char* kImportHelp =
    "Usage: keyweave import FILE [-o OUT.cfg] [--profile NAME] [--screen WxH]\n"
    "\n"
    "Converts a keymap of QtScrcpy or scrcpy-mask (either form; .json) or of\n"
    "PlayCover (.playmap) into a Keyweave keymap, printed or written to OUT.cfg.\n"
    "Each mapping becomes the closest rule, its note a comment at its end; a\n"
    "mapping or field with no counterpart becomes a line\n"
    "\"# dropped: WHAT: WHY\". A count of the mappings converted and dropped, and\n"
    "of the fields dropped, goes to standard error.\n"
    "\n"
    "  -o OUT.cfg       write the keymap there instead of printing it\n"
    "  --profile NAME   the older scrcpy-mask files hold several profiles: which\n"
    "                   one (default the first; the others are listed)\n"
    "  --screen WxH     the screen that pixel positions refer to when the file\n"
    "                   does not say; default 1920x1080\n"
    "\n"
    "Exit status: 0 converted; 1 converted, but the engine rejects a line of the\n"
    "result; 2 the file could not be read or is no keymap of those tools.\n";

// "-o" is written with one dash; the option reader knows "--o".
std::vector<std::string> Words(const Arguments& arguments, std::string& output) {
    std::vector<std::string> words;
    const auto& positional = arguments.positional;
    for (size_t i = 0; i < positional.size(); ++i) {
        if (positional[i] == "-o" && i + 1 < positional.size()) {
            output = positional[++i];
        } else {
            words.push_back(positional[i]);
        }
    }
    return words;
}

int RunImport(const Arguments& arguments, Console& console) {
    std::string output = arguments.Value("o");
    const std::vector<std::string> words = Words(arguments, output);
    if (words.size() != 1) {
        console.ErrorLine("keyweave import: Cannot import without one keymap file (see keyweave import --help)");
        return kExitFailed;
    }
    Import::Options options;
    options.profile = arguments.Value("profile");
    std::string error;
    if (arguments.Has("screen") && !ParseScreenSize(arguments.Value("screen"), options.screen, error)) {
        console.ErrorLine("keyweave import: " + error);
        return kExitFailed;
    }
    const std::string& path = words.front();
    std::string text;
    if (!ReadFile(path, text)) {
        console.ErrorLine("keyweave import: Cannot read " + path);
        return kExitFailed;
    }
    Import::Keymap keymap;
    std::vector<std::string> notes;
    std::string result;
    if (!Import::FromText(text, path, options, keymap, result, notes, error)) {
        // Text that is no JSON at all names the file in the message itself.
        console.ErrorLine("keyweave import: " + error +
                          (error.find(path) == std::string::npos ? " (" + path + ")" : ""));
        return kExitFailed;
    }
    if (output.empty()) {
        console.Out(result);
    } else if (!WriteFile(output, result)) {
        console.ErrorLine("keyweave import: Cannot write " + output);
        return kExitFailed;
    }
    const std::string prefix = path + ": ";
    for (const std::string& note : notes) console.ErrorLine(prefix + note);
    console.ErrorLine(prefix + keymap.Summary());
    // The result must load as it is: say so if the engine would reject a line.
    int status = kExitDone;
    for (const Diagnostics::Diagnostic& item : Diagnostics::Analyse(result, "").items) {
        if (item.severity != Diagnostics::Severity::kError) continue;
        console.ErrorLine(
            Printf("%s: Cannot convert cleanly: line %u: %s", path.c_str(), item.line, item.message.c_str()));
        status = kExitFaults;
    }
    return status;
}

}  // namespace

const CommandSpec kImportCommand{"import", "convert a QtScrcpy, scrcpy-mask or PlayCover keymap to a Keyweave keymap",
                                 kImportHelp, kImportOptions, &RunImport};

}  // namespace Keyweave::Tool
