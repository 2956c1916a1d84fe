#include "base/format.h"

#include <algorithm>

namespace Keyweave {

size_t FormatInto(char* buffer, size_t size, const char* format, FormatArguments arguments) {
    const size_t room = size == 0 ? 0 : size - 1;
    size_t length = 0;
    try {
        // Writes straight into the buffer and only counts what does not fit.
        fmt::detail::iterator_buffer<char*, char, fmt::detail::fixed_buffer_traits> out(buffer, room);
        fmt::detail::vprintf(out, fmt::string_view(format), arguments);
        length = out.count();
    } catch (const fmt::format_error& error) {
        return Format(buffer, size, "Cannot format \"%s\": %s", format, error.what());
    }
    if (size != 0) buffer[std::min(length, room)] = '\0';
    return length;
}

}  // namespace Keyweave
