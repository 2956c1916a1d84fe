#pragma once
// The lines keyweave check prints for one keymap's diagnostics: compiler
// style ("FILE:LINE: MESSAGE", "FILE:LINE: warning: MESSAGE [name]") or one
// JSON object a line for editors.

#include <nlohmann/json_fwd.hpp>
#include <set>
#include <string>

#include "diagnostics/diagnostics.h"

namespace Keyweave::Tool {

// `line` 0: about the file as a whole.
[[nodiscard]] std::string DiagnosticText(const std::string& path, const Diagnostics::Diagnostic& diagnostic);
[[nodiscard]] nlohmann::ordered_json DiagnosticObject(const std::string& path,
                                                      const Diagnostics::Diagnostic& diagnostic);
[[nodiscard]] std::string DiagnosticJson(const std::string& path, const Diagnostics::Diagnostic& diagnostic);

// Reads the "-W no-NAME" and "-Wno-NAME" words among the positional ones:
// the names go to `silenced`, the other words stay. False with a message for
// an unknown warning name or a -W without its word.
[[nodiscard]] bool TakeWarningSwitches(std::vector<std::string>& words, std::set<std::string>& silenced,
                                       std::string& error);

}  // namespace Keyweave::Tool
