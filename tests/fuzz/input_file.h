#pragma once
// Fuzz inputs that the engine reads as files: written byte for byte to a file
// in a scratch directory of this process, one file per name, rewritten by each
// input that needs it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"

namespace Keyweave::Fuzz {

// Writes `size` bytes to the scratch file `name` and returns its UTF-16 path.
WideString WriteInputFile(const std::string& name, const uint8_t* data, size_t size);

// The path of a file of the source tree (examples, test data), as the engine
// takes paths.
WideString SourceTreePath(const std::string& relative);

// The keymaps of the source tree that the sessions' loads pick from: the
// documentation's pictures, the examples and the command's test data.
const std::vector<WideString>& CorpusKeymaps();

// A log sink that reads every line to its end and keeps nothing.
void DiscardLine(void* context, const char* line);

}  // namespace Keyweave::Fuzz
