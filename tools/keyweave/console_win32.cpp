// The Windows side of the console: the C runtime would turn every "\n" into
// "\r\n" on a text stream, and narrow file names are in the ANSI code page.

#include <fcntl.h>
#include <io.h>

#include "base/text.h"
#include "keyweave/console.h"

namespace Keyweave::Tool {

void UseBinaryOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::FILE* OpenForWriting(const std::string& path) {
    const WideString wide = ToWide(path);
    return _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"wb");
}

}  // namespace Keyweave::Tool
