// keyweave check: every line of a keymap that the engine rejects, compiler
// style, with the engine's own words; then warnings about what the engine
// accepts without a word and yet does not do as meant.

#include <array>
#include <filesystem>
#include <set>

#include "common/files.h"
#include "common/printf.h"
#include "diagnostics/diagnostics.h"
#include "dispatch.h"
#include "keymap/check_output.h"

namespace Keyweave::Tool {
namespace {

constexpr std::array<OptionSpec, 3> kCheckOptions = {{{"locale", true}, {"werror", false}, {"json", false}}};

constexpr const char* kCheckHelp =
    "Usage: keyweave check FILE.cfg... [--locale L] [--werror] [-W no-NAME]... [--json]\n"
    "\n"
    "Loads each keymap with the engine's own reader and prints every line the\n"
    "engine rejects as FILE:LINE: MESSAGE, in the engine's words. A rejected\n"
    "line does nothing in the game; the rest of the file still loads.\n"
    "\n"
    "Then it warns about lines the engine accepts but that do not do what they\n"
    "seem to, as FILE:LINE: warning: MESSAGE [NAME], and ends with a count.\n"
    "\n"
    "  --locale L   the locale the host sets (selects [strings.L]); default none\n"
    "  --werror     warnings count as faults (exit status 1)\n"
    "  -W no-NAME   no warnings of that name; may be repeated\n"
    "  --json       one JSON object a line per diagnostic (file, line, severity,\n"
    "               name, message), and no count\n"
    "\n"
    "Warnings: percent-fraction, off-screen, key-bound-twice, two-direction-pads,\n"
    "three-key-chord, unknown-key, shooting-mode-off, directive-look-alike,\n"
    "swipe-pinch-percent, ignored-value, truncated-value, utf16,\n"
    "rejected-but-stored, directive-too-late, no-effect.\n"
    "\n"
    "Exit status: 0 every line is accepted; 1 some line was rejected (or warned\n"
    "about, with --werror); 2 a file could not be read (it would not load at all:\n"
    "the host falls back).\n";

const char* Plural(size_t count, const char* one, const char* many) { return count == 1 ? one : many; }

struct Counts {
    size_t rejected = 0;
    size_t warnings = 0;
    size_t unreadable = 0;
};

bool IsDirectory(const std::string& path) {
    const std::u8string name(path.begin(), path.end());
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(name), error);
}

// The file's diagnostics, or why it cannot be read as a whole (line 0).
Diagnostics::Report Examine(const std::string& path, const std::string& locale) {
    std::string text;
    if (IsDirectory(path)) {
        return {false,
                {{0,
                  Diagnostics::Severity::kError,
                  "unreadable",
                  "Cannot read " + path + ": it is a directory, not a keymap file",
                  0,
                  0,
                  {}}}};
    }
    if (!ReadFile(path, text)) {
        return {false,
                {{0, Diagnostics::Severity::kError, "unreadable", "Cannot open configuration file " + path, 0, 0, {}}}};
    }
    return Diagnostics::Analyse(text, locale);
}

std::string Summary(size_t files, const Counts& counts) {
    std::string summary = Printf("%zu %s checked: ", files, Plural(files, "file", "files"));
    if (counts.rejected == 0) {
        summary += "no line rejected";
    } else {
        summary += Printf("%zu %s rejected", counts.rejected, Plural(counts.rejected, "line", "lines"));
    }
    if (counts.warnings != 0) {
        summary += Printf(", %zu %s", counts.warnings, Plural(counts.warnings, "warning", "warnings"));
    }
    if (counts.unreadable != 0) {
        summary +=
            Printf(", %zu %s not be read", counts.unreadable, Plural(counts.unreadable, "file could", "files could"));
    }
    return summary;
}

int RunCheck(const Arguments& arguments, Console& console) {
    std::vector<std::string> paths = arguments.positional;
    std::set<std::string> silenced;
    std::string error;
    if (!TakeWarningSwitches(paths, silenced, error)) {
        console.ErrorLine("keyweave check: " + error + " (see keyweave check --help)");
        return kExitFailed;
    }
    if (paths.empty()) {
        console.ErrorLine("keyweave check: Cannot check without a keymap file (see keyweave check --help)");
        return kExitFailed;
    }
    const bool json = arguments.Has("json");
    Counts counts;
    for (const std::string& path : paths) {
        const Diagnostics::Report report = Examine(path, arguments.Value("locale"));
        if (!report.readable) ++counts.unreadable;
        uint32_t lastRejected = 0;
        for (const Diagnostics::Diagnostic& item : report.items) {
            if (item.severity == Diagnostics::Severity::kWarning) {
                if (silenced.count(item.name) != 0) continue;
                ++counts.warnings;
            } else if (item.name == "rejected" && item.line != lastRejected) {
                lastRejected = item.line;
                ++counts.rejected;
            }
            console.Line(json ? DiagnosticJson(path, item) : DiagnosticText(path, item));
        }
    }
    if (!json) console.Line(Summary(paths.size(), counts));
    if (counts.unreadable != 0) return kExitFailed;
    const bool faults = counts.rejected != 0 || (arguments.Has("werror") && counts.warnings != 0);
    return faults ? kExitFaults : kExitDone;
}

}  // namespace

const CommandSpec kCheckCommand{"check", "list the keymap lines the engine rejects, and warnings, FILE:LINE: MESSAGE",
                                kCheckHelp, kCheckOptions, &RunCheck};

}  // namespace Keyweave::Tool
