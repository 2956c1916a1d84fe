#include "common/json_text.h"

#include <nlohmann/json.hpp>

namespace Keyweave::Tool {

std::string JsonText(const nlohmann::ordered_json& value) {
    // Log lines and keymap text need not be UTF-8: bytes that are not are
    // replaced.
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace Keyweave::Tool
