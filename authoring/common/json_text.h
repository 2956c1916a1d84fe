#pragma once
// JSON values as one line of text, for programs that read the tools' output.

#include <nlohmann/json_fwd.hpp>
#include <string>

namespace Keyweave::Tool {

// One line of JSON, with bytes that are not UTF-8 replaced.
[[nodiscard]] std::string JsonText(const nlohmann::ordered_json& value);

}  // namespace Keyweave::Tool
