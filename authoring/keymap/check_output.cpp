#include "keymap/check_output.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "common/json_text.h"

namespace Keyweave::Tool {

std::string DiagnosticText(const std::string& path, const Diagnostics::Diagnostic& diagnostic) {
    std::string text = diagnostic.line == 0 ? path + ": " : path + ":" + std::to_string(diagnostic.line) + ": ";
    if (diagnostic.severity == Diagnostics::Severity::kError) return text + diagnostic.message;
    return text + "warning: " + diagnostic.message + " [" + diagnostic.name + "]";
}

nlohmann::ordered_json DiagnosticObject(const std::string& path, const Diagnostics::Diagnostic& diagnostic) {
    nlohmann::ordered_json object = {
        {"file", path},
        {"line", diagnostic.line},
        {"severity", Diagnostics::SeverityName(diagnostic.severity)},
        {"name", diagnostic.name},
        {"message", diagnostic.message},
    };
    // Where on the line, when one piece of it is at fault; and the reader's
    // own name for what it rejected.
    if (diagnostic.column != 0) {
        object["column"] = diagnostic.column;
        object["length"] = diagnostic.length;
    }
    if (!diagnostic.cause.empty()) object["cause"] = diagnostic.cause;
    return object;
}

std::string DiagnosticJson(const std::string& path, const Diagnostics::Diagnostic& diagnostic) {
    return JsonText(DiagnosticObject(path, diagnostic));
}

bool TakeWarningSwitches(std::vector<std::string>& words, std::set<std::string>& silenced, std::string& error) {
    std::vector<std::string> kept;
    for (size_t i = 0; i < words.size(); ++i) {
        if (!words[i].starts_with("-W")) {
            kept.push_back(words[i]);
            continue;
        }
        std::string value = words[i].substr(2);
        if (value.empty()) {
            if (i + 1 == words.size()) {
                error = "Cannot use -W without a warning to silence (-W no-NAME)";
                return false;
            }
            value = words[++i];
        }
        const std::string name = value.starts_with("no-") ? value.substr(3) : "";
        const auto names = Diagnostics::WarningNames();
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            error = "Cannot silence '" + value + "': write -W no-NAME with the name of a warning";
            return false;
        }
        silenced.insert(name);
    }
    words = std::move(kept);
    return true;
}

}  // namespace Keyweave::Tool
