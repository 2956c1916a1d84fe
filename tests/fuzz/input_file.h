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

// Keys worth pressing whatever the keymap: Space, Enter, W, the E0 up arrow,
// and the six mouse pseudo keys.
inline constexpr uint32_t kUsualKeys[] = {0x39, 0x1C, 0x11, 0xE048, 256, 257, 258, 259, 260, 261};

// Mouse messages as hosts send them: move, the left and right buttons, and
// Windows' middle button down and up and wheel, which the engine ignores.
inline constexpr int32_t kMouseMessages[] = {512, 513, 514, 516, 517, 519, 520, 522};

}  // namespace Keyweave::Fuzz
