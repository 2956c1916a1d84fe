#pragma once
// The wild-card form of a keymap path: the last dot-separated part of the
// file's name is dropped, so a keymap for a variant of an application falls
// back to the application's own (com.game.lite.cfg -> com.game.cfg).

#include <algorithm>
#include <optional>

#include "base/log.h"
#include "base/text.h"

namespace Keyweave {

// Working buffers hold 1023 characters and a terminator; longer paths are cut
// to that before anything else.
inline constexpr size_t kWildCardBufferChars = 1024;

// The path without its last four characters (".cfg", not checked) is searched
// for its last '.', even across directory separators, so C:\my.maps\game.cfg
// gives C:\my.cfg. Logs "wild card %s" with the text from that dot on (a null
// string when there is none) and, when a new path is made, "new path %s".
// Returns no value when there is no dot: the caller keeps the argument.
[[nodiscard]] std::optional<WideString> WildCardPath(WideStringView path, const Log& log);

}  // namespace Keyweave
