#include "command_line.h"

#include <string_view>

namespace Keyweave::Tool {
namespace {

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, std::string_view name) {
    for (const OptionSpec& spec : specs) {
        if (name == spec.name) return &spec;
    }
    return nullptr;
}

}  // namespace

std::string Arguments::Value(const std::string& name, const std::string& fallback) const {
    const auto found = values.find(name);
    return found == values.end() ? fallback : found->second;
}

bool ParseArguments(std::span<const std::string> words, std::span<const OptionSpec> specs, Arguments& arguments,
                    std::string& error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !word.starts_with("--")) {
            arguments.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string_view name = std::string_view(word).substr(2);
        std::string value;
        const size_t equals = name.find('=');
        const bool inlineValue = equals != std::string_view::npos;
        if (inlineValue) {
            value = std::string(name.substr(equals + 1));
            name = name.substr(0, equals);
        }
        const OptionSpec* spec = FindSpec(specs, name);
        if (spec == nullptr) {
            error = "Cannot use option --" + std::string(name) + " here";
            return false;
        }
        if (!spec->takesValue) {
            if (inlineValue) {
                error = "Cannot give option --" + std::string(name) + " a value";
                return false;
            }
            arguments.flags.insert(spec->name);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= words.size()) {
                error = "Cannot use option --" + std::string(name) + " without a value";
                return false;
            }
            value = words[++i];
        }
        arguments.values[spec->name] = value;
    }
    return true;
}

}  // namespace Keyweave::Tool
