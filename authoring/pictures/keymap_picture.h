#pragma once
// The picture of a keymap (keyweave render): the guest screen with every
// binding where it touches, labelled with its keys, and a legend below for
// the bindings that have no place on the screen.
//
// Every binding is one <g class="binding"> element with data-keys (the keys,
// "Ctrl+A", or "Pad A", "Controller Up") and data-action (the record kind),
// and a <title> with the engine's own description, shown as a tooltip.

#include <string>

#include "common/screen_size.h"
#include "config/config.h"

namespace Keyweave::Tool {

struct KeymapPictureOptions {
    ScreenSize screen;
    std::string title;  // shown above the screen
    // A screenshot of the game as a data: URI, drawn under the bindings and
    // stretched to the screen; empty: a plain screen.
    std::string background;
};

[[nodiscard]] std::string DrawKeymap(const Config& config, const KeymapPictureOptions& options);

}  // namespace Keyweave::Tool
