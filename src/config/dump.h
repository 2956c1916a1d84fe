#pragma once
// The two texts that describe a loaded configuration: the dump of its key
// rules for the log, and the one-line summary of the on-screen controller for
// the host.

#include <string>

#include "base/log.h"
#include "config/config.h"

namespace Keyweave {

// "Config for package <package>", "Keys:", then per rule its key names and,
// indented below, each action's description.
void DumpToLog(const Config& config, const Log& log);

// "<mode>|Package=<package>", then the controller's labelled buttons, areas,
// tilt and swipe-tap texts, each label translated.
[[nodiscard]] std::string SummaryText(const Config& config);

}  // namespace Keyweave
