#pragma once
// printf-style formatting that does not depend on the process's C locale.
//
// The host may have called setlocale for a language with a decimal comma; the
// engine's texts (log lines, action descriptions, the summary) must still read
// "0.50". Numbers are formatted here with std::to_chars and integer code of our
// own, so "%f" always uses a dot and never groups digits.
//
// Supported: flags "-+ #0", width and precision (also "*"), length modifiers
// hh h l ll z j t L, and the conversions d i u x X o c s p f F e E g G %.
// "%S" takes a UTF-16 string (const WideChar*, see text.h) and prints it as
// UTF-8. A null string prints as "(null)". Output is cut to fit the buffer and
// always terminated.

#include <cstdarg>
#include <cstddef>

#if defined(_WIN32)
// There wchar_t is UTF-16, so the compiler can check every format, "%S" too.
#define KEYWEAVE_PRINTF(format_index, first_arg) \
    __attribute__((format(gnu_printf, format_index, first_arg)))
#else
#define KEYWEAVE_PRINTF(format_index, first_arg)
#endif

namespace Keyweave {

// Formats into buffer[0, size); returns the length the full text would have
// (like vsnprintf). With size 0 nothing is written.
size_t FormatV(char* buffer, size_t size, const char* format, va_list arguments);
size_t Format(char* buffer, size_t size, const char* format, ...) KEYWEAVE_PRINTF(3, 4);

}  // namespace Keyweave
