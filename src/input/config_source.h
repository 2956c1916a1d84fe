#pragma once
// How input handling reaches the active keymap.
//
// The engine replaces its configuration on every keymap load, so the input
// classes do not keep a reference to one: they ask for the active one when an
// event arrives. Null while none is active (inside a load).

#include <functional>

#include "config/config.h"

namespace Keyweave {

using ConfigSource = std::function<Config*()>;

// Runs its argument with the active configuration (null while none is
// active) held: no keymap load replaces it, or resets the touch state, until
// the argument returns.
using ConfigHold = std::function<void(const std::function<void(const Config*)>&)>;

}  // namespace Keyweave
