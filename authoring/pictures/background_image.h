#pragma once
// A screenshot for `render --background`: read, recognised as PNG or JPEG
// by its first bytes, and turned into a data: URI to embed in the picture.

#include <string>

namespace Keyweave::Tool {

// The data: URI of the picture at `path`; false with a message starting
// with "Cannot" when it cannot be read or is no PNG or JPEG file.
[[nodiscard]] bool ReadBackground(const std::string& path, std::string& uri, std::string& error);

// `bytes` in base64 (RFC 4648, with padding).
[[nodiscard]] std::string Base64(const std::string& bytes);

}  // namespace Keyweave::Tool
