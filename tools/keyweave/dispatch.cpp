#include "dispatch.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "common/printf.h"

namespace Keyweave::Tool {
namespace {

const std::array<const CommandSpec*, 6> kCommands = {&kCheckCommand,  &kDumpCommand, &kPlayCommand,
                                                     &kRenderCommand, &kPadCommand,  &kImportCommand};

constexpr const char* kOverview =
    "keyweave: answers for people who write keymaps, from the engine's own code.\n"
    "\n"
    "Usage: keyweave COMMAND ARGUMENTS...\n"
    "       keyweave COMMAND --help\n"
    "       keyweave --version\n"
    "\n"
    "Commands:\n";

constexpr const char* kOverviewEnd =
    "\n"
    "Exit status: 0 done; 1 done, but the input has faults; 2 the command could\n"
    "not do its job (unreadable file, bad arguments, bad script line).\n";

bool AsksForHelp(std::span<const std::string> words) {
    for (const std::string& word : words) {
        if (word == "--") return false;
        if (word == "--help" || word == "-h") return true;
    }
    return false;
}

void PrintOverview(Console& console) {
    console.Out(kOverview);
    for (const CommandSpec* command : kCommands) console.Out(Printf("  %-8s %s\n", command->name, command->summary));
    console.Out(kOverviewEnd);
}

void PrintCommandHelp(const CommandSpec& command, Console& console) {
    console.Out(Printf("keyweave %s: %s\n\n", command.name, command.summary));
    console.Out(command.help);
}

}  // namespace

int Run(std::span<const std::string> words, Console& console) {
    if (words.empty()) {
        PrintOverview(console);
        return kExitFailed;
    }
    const std::string& name = words.front();
    if (name == "--version") {
        console.Line("keyweave " KEYWEAVE_TOOL_VERSION);
        return kExitDone;
    }
    if (name == "--help" || name == "-h" || name == "help") {
        if (words.size() > 1) {
            for (const CommandSpec* command : kCommands) {
                if (words[1] == command->name) {
                    PrintCommandHelp(*command, console);
                    return kExitDone;
                }
            }
        }
        PrintOverview(console);
        return kExitDone;
    }
    for (const CommandSpec* command : kCommands) {
        if (name != command->name) continue;
        const std::span<const std::string> rest = words.subspan(1);
        if (AsksForHelp(rest)) {
            PrintCommandHelp(*command, console);
            return kExitDone;
        }
        Arguments arguments;
        std::string error;
        if (!ParseArguments(rest, command->options, arguments, error)) {
            console.ErrorLine(
                Printf("keyweave %s: %s (see keyweave %s --help)", command->name, error.c_str(), command->name));
            return kExitFailed;
        }
        return command->run(arguments, console);
    }
    console.ErrorLine(Printf("keyweave: Cannot run unknown command '%s' (see keyweave --help)", name.c_str()));
    return kExitFailed;
}

int RunFromEntryPoint(const std::vector<std::string>& words) {
    UseBinaryOutput();
    Console console;
    const int status = Run(words, console);
    std::fwrite(console.out().data(), 1, console.out().size(), stdout);
    std::fflush(stdout);
    std::fwrite(console.err().data(), 1, console.err().size(), stderr);
    std::fflush(stderr);
    return status;
}

}  // namespace Keyweave::Tool
