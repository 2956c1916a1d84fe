// The POSIX side of the console: output bytes are never translated, and file
// names are UTF-8 already.

#include "keyweave/console.h"

namespace Keyweave::Tool {

void UseBinaryOutput() {}

std::FILE* OpenForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

}  // namespace Keyweave::Tool
