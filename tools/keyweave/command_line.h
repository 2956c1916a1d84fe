#pragma once
// The arguments of one command: positional words and "--name value" options
// (also "--name=value"), checked against the options the command knows.

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace Keyweave::Tool {

struct OptionSpec {
    const char* name;  // without the leading "--"
    bool takesValue;
};

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // options that take a value
    std::set<std::string> flags;                // options that do not

    [[nodiscard]] bool Has(const std::string& name) const { return values.count(name) != 0 || flags.count(name) != 0; }
    // The option's value, or `fallback` when it was not given.
    [[nodiscard]] std::string Value(const std::string& name, const std::string& fallback = "") const;
};

// Sorts `words` into `arguments`. False with a message starting with
// "Cannot" for an unknown option or a missing value. A lone "-" and every
// word after "--" are positional.
[[nodiscard]] bool ParseArguments(std::span<const std::string> words, std::span<const OptionSpec> specs,
                                  Arguments& arguments, std::string& error);

}  // namespace Keyweave::Tool
