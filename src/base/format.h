#pragma once
// printf-style formatting that does not depend on the process's C locale.
//
// The host may have called setlocale for a language with a decimal comma; the
// engine's texts (log lines, action descriptions, the summary) must still read
// "0.50". {fmt}'s printf never looks at the C locale, so "%f" always uses a dot
// and never groups digits.
//
// The formats are the C library's; a UTF-16 string (const WideChar*, see
// text.h) is printed as UTF-8 by a plain "%s" (no width or precision), a null
// one as "(null)". Output is cut to fit the buffer and always terminated.

#include <cstddef>

#include <fmt/printf.h>

#include "base/text.h"

namespace Keyweave {

// A UTF-16 string argument, printed as UTF-8.
struct Utf16Argument {
    const WideChar* text;
};

// Arguments as {fmt} takes them: UTF-16 strings are wrapped, the rest pass as they are.
template <typename T>
const T& FormatArgument(const T& value) { return value; }
inline Utf16Argument FormatArgument(const WideChar* text) { return {text}; }
inline Utf16Argument FormatArgument(WideChar* text) { return {text}; }

using FormatArguments = fmt::printf_args;

// Formats into buffer[0, size) without allocating; returns the length the full
// text would have (like vsnprintf). With size 0 nothing is written. A format
// that does not fit its arguments gives a line starting with "Cannot format".
size_t FormatInto(char* buffer, size_t size, const char* format, FormatArguments arguments);

template <typename... Args>
size_t Format(char* buffer, size_t size, const char* format, const Args&... args) {
    return FormatInto(buffer, size, format, fmt::make_printf_args(FormatArgument(args)...));
}

}  // namespace Keyweave

template <>
struct fmt::printf_formatter<Keyweave::Utf16Argument> {
    template <typename ParseContext>
    constexpr auto parse(ParseContext& context) { return context.begin(); }

    template <typename FormatContext>
    auto format(const Keyweave::Utf16Argument& argument, FormatContext& context) const {
        auto out = context.out();
        if (argument.text == nullptr) {
            for (const char c : std::string_view("(null)")) *out++ = c;
        } else {
            Keyweave::ForEachUtf8Byte(Keyweave::WideStringView(argument.text), [&](char byte) { *out++ = byte; });
        }
        return out;
    }
};
