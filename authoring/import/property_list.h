#pragma once
// Apple's XML property lists (PlayCover's .playmap keymaps), read with
// tinyxml2 into the JSON values the importers walk: <dict> an object,
// <array> an array, <string> and <date> strings, <integer> and <real>
// numbers, <true/> and <false/> booleans, <data> its base64 text.

#include <nlohmann/json.hpp>
#include <string>

namespace Keyweave::Tool::Import {

// The value of the plist's root element. False with `error` saying why
// ("it is not XML: ...", "it is no property list: ...") otherwise.
[[nodiscard]] bool ReadPropertyList(const std::string& xml, nlohmann::json& root, std::string& error);

}  // namespace Keyweave::Tool::Import
