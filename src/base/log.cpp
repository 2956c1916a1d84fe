#include "base/log.h"

namespace Keyweave {

void Log::Emit(const char* format, FormatArguments arguments) const {
    char line[kLineBytes];
    FormatInto(line, sizeof line, format, arguments);
    sink_(context_, line);
}

}  // namespace Keyweave
