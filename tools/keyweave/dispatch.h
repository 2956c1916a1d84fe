#pragma once
// The keyweave command: "keyweave COMMAND ARGUMENTS...", one small program
// per command, each with its own help.
//
// Exit status of every command: 0 done, 1 done but the input has faults
// (rejected keymap lines, a pad without an entry of its own), 2 the command
// could not do its job (unreadable file, bad arguments, bad script line).

#include <span>
#include <string>
#include <vector>

#include "command_line.h"
#include "console.h"

namespace Keyweave::Tool {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFaults = 1;
inline constexpr int kExitFailed = 2;

struct CommandSpec {
    const char* name;
    const char* summary;  // one line in the overall help
    const char* help;     // the command's own help, from its usage line on
    std::span<const OptionSpec> options;
    int (*run)(const Arguments& arguments, Console& console);
};

// Defined by the command files.
extern const CommandSpec kCheckCommand;
extern const CommandSpec kDumpCommand;
extern const CommandSpec kPlayCommand;
extern const CommandSpec kRenderCommand;
extern const CommandSpec kPadCommand;
extern const CommandSpec kImportCommand;

// The whole program on `words` (the arguments after the program name).
[[nodiscard]] int Run(std::span<const std::string> words, Console& console);

// Run, then the console's texts go to stdout and stderr.
[[nodiscard]] int RunFromEntryPoint(const std::vector<std::string>& words);

}  // namespace Keyweave::Tool
