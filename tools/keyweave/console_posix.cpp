// The POSIX side of the console: output bytes are never translated.

#include "console.h"

namespace Keyweave::Tool {

void UseBinaryOutput() {}

}  // namespace Keyweave::Tool
