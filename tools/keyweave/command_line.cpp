#include "keyweave/command_line.h"

#include <string_view>

#include "config/number_reading.h"

namespace Keyweave::Tool {
namespace {

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, std::string_view name) {
    for (const OptionSpec& spec : specs) {
        if (name == spec.name) return &spec;
    }
    return nullptr;
}

bool ReadDimension(std::string_view text, int32_t& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    if (!Numbers::ReadInt(text, value) || !text.empty()) return false;
    return value >= 1 && value <= 100000;
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

bool ParseScreenSize(const std::string& text, ScreenSize& size, std::string& error) {
    const size_t cross = text.find('x');
    ScreenSize parsed;
    if (cross == std::string::npos || !ReadDimension(std::string_view(text).substr(0, cross), parsed.width) ||
        !ReadDimension(std::string_view(text).substr(cross + 1), parsed.height)) {
        error = "Cannot read screen size '" + text + "': write width x height in pixels, like 1920x1080";
        return false;
    }
    size = parsed;
    return true;
}

std::string PackageOfPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > 4 && name.ends_with(".cfg")) name.resize(name.size() - 4);
    return name;
}

}  // namespace Keyweave::Tool
