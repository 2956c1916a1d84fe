// The Windows side of the console: the C runtime would turn every "\n" into
// "\r\n" on a text stream.

#include <fcntl.h>
#include <io.h>

#include "console.h"

namespace Keyweave::Tool {

void UseBinaryOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace Keyweave::Tool
