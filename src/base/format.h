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
//
// {fmt} itself stays in format.cpp: callers hand over their arguments as a
// short array of tagged values, with the type printf needs kept (an int and
// an unsigned differ for "%x"), so that no other source parses {fmt}'s
// headers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "base/text.h"

namespace Keyweave {

// One argument of a formatted text: a value and the type printf sees it as.
// Small integers widen as in a C call; long is int or long long by its size.
class FormatArgument {
public:
    enum class Kind : uint8_t {
        kInt,
        kUnsigned,
        kLongLong,
        kUnsignedLongLong,
        kBool,
        kChar,
        kFloat,
        kDouble,
        kLongDouble,
        kText,
        kView,
        kPointer,
        kUtf16,
    };

    FormatArgument(bool value) : kind_(Kind::kBool) { value_.boolean = value; }
    FormatArgument(char value) : kind_(Kind::kChar) { value_.character = value; }
    FormatArgument(signed char value) : FormatArgument(static_cast<int>(value)) {}
    FormatArgument(unsigned char value) : FormatArgument(static_cast<unsigned>(value)) {}
    FormatArgument(short value) : FormatArgument(static_cast<int>(value)) {}
    FormatArgument(unsigned short value) : FormatArgument(static_cast<unsigned>(value)) {}
    FormatArgument(int value) : kind_(Kind::kInt) { value_.integer = value; }
    FormatArgument(unsigned value) : kind_(Kind::kUnsigned) { value_.natural = value; }
    FormatArgument(long value) : FormatArgument(static_cast<Widened<long>>(value)) {}
    FormatArgument(unsigned long value) : FormatArgument(static_cast<Widened<unsigned long>>(value)) {}
    FormatArgument(long long value) : kind_(Kind::kLongLong) { value_.longInteger = value; }
    FormatArgument(unsigned long long value) : kind_(Kind::kUnsignedLongLong) { value_.longNatural = value; }
    FormatArgument(float value) : kind_(Kind::kFloat) { value_.single = value; }
    FormatArgument(double value) : kind_(Kind::kDouble) { value_.real = value; }
    FormatArgument(long double value) : kind_(Kind::kLongDouble) { value_.longReal = value; }
    FormatArgument(const char* value) : kind_(Kind::kText) { value_.text = value; }
    FormatArgument(std::string_view value) : kind_(Kind::kView) { value_.view = {value.data(), value.size()}; }
    FormatArgument(const std::string& value) : FormatArgument(std::string_view(value)) {}
    FormatArgument(const void* value) : kind_(Kind::kPointer) { value_.pointer = value; }
    FormatArgument(std::nullptr_t) : FormatArgument(static_cast<const void*>(nullptr)) {}
    // A UTF-16 string, printed as UTF-8.
    FormatArgument(const WideChar* value) : kind_(Kind::kUtf16) { value_.utf16 = value; }
    // An enumeration prints as its number.
    template <typename Enum, std::enable_if_t<std::is_enum_v<Enum>, int> = 0>
    FormatArgument(Enum value) : FormatArgument(static_cast<std::underlying_type_t<Enum>>(value)) {}

    [[nodiscard]] Kind kind() const { return kind_; }
    [[nodiscard]] bool boolean() const { return value_.boolean; }
    [[nodiscard]] char character() const { return value_.character; }
    [[nodiscard]] int integer() const { return value_.integer; }
    [[nodiscard]] unsigned natural() const { return value_.natural; }
    long long longInteger() const { return value_.longInteger; }
    unsigned long long longNatural() const { return value_.longNatural; }
    [[nodiscard]] float single() const { return value_.single; }
    [[nodiscard]] double real() const { return value_.real; }
    long double longReal() const { return value_.longReal; }
    [[nodiscard]] const char* text() const { return value_.text; }
    [[nodiscard]] std::string_view view() const { return {value_.view.data, value_.view.size}; }
    [[nodiscard]] const void* pointer() const { return value_.pointer; }
    [[nodiscard]] const WideChar* utf16() const { return value_.utf16; }

private:
    // long is int or long long, whichever has its size.
    template <typename Long>
    using Widened =
        std::conditional_t<sizeof(Long) == sizeof(int), std::conditional_t<std::is_signed_v<Long>, int, unsigned>,
                           std::conditional_t<std::is_signed_v<Long>, long long, unsigned long long>>;

    Kind kind_;
    union {
        bool boolean;
        char character;
        int integer;
        unsigned natural;
        long long longInteger;
        unsigned long long longNatural;
        float single;
        double real;
        long double longReal;
        const char* text;
        struct {
            const char* data;
            size_t size;
        } view;
        const void* pointer;
        const WideChar* utf16;
    } value_;
};

using FormatArguments = std::span<const FormatArgument>;

// The most arguments one text takes.
inline constexpr size_t kMostFormatArguments = 16;

// Formats into buffer[0, size) without allocating; returns the length the full
// text would have (like vsnprintf). With size 0 nothing is written. A format
// that does not fit its arguments gives a line starting with "Cannot format".
size_t FormatInto(char* buffer, size_t size, const char* format, FormatArguments arguments);

// The arguments of one text, ready for FormatInto.
template <typename... Args>
std::array<FormatArgument, sizeof...(Args)> FormatArgumentsOf(const Args&... args) {
    static_assert(sizeof...(Args) <= kMostFormatArguments, "too many arguments for one text");
    return {FormatArgument(args)...};
}

template <typename... Args>
size_t Format(char* buffer, size_t size, const char* format, const Args&... args) {
    return FormatInto(buffer, size, format, FormatArgumentsOf(args...));
}

}  // namespace Keyweave
