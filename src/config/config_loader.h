#pragma once
// Loading one keymap file into a configuration of its own.

#include <memory>

#include "base/text.h"
#include "config/config.h"
#include "config/parse_context.h"

namespace Keyweave {

// Reads the keymap at `path` into a new configuration and writes its dump to
// the context's log. Null when the file cannot be opened or read to its end;
// the partly filled configuration is destroyed then.
[[nodiscard]] std::unique_ptr<Config> LoadConfig(const WideChar* path, const ParseContext& context);

}  // namespace Keyweave
