#pragma once
// printf-style text for the author tools' output, formatted by
// Keyweave::Format: a dot for decimals whatever the C locale, so the output is
// the same everywhere.

#include <string>

#include "base/format.h"

namespace Keyweave::Tool {

template <typename... Args>
[[nodiscard]] std::string Printf(const char* format, const Args&... args) {
    const size_t length = Format(nullptr, 0, format, args...);
    std::string text(length + 1, '\0');
    Format(text.data(), text.size(), format, args...);
    text.resize(length);
    return text;
}

}  // namespace Keyweave::Tool
