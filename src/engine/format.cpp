#include "engine/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/text.h"

namespace Keyweave {
namespace {

// Appends to a bounded buffer and counts what would have been written.
class Output {
public:
    Output(char* buffer, size_t size) : buffer_(buffer), size_(size) {}
    void Put(char c) {
        if (length_ + 1 < size_) buffer_[length_] = c;
        ++length_;
    }
    void Put(const char* text, size_t count) {
        for (size_t i = 0; i < count; ++i) Put(text[i]);
    }
    void Repeat(char c, size_t count) {
        for (size_t i = 0; i < count; ++i) Put(c);
    }
    size_t Finish() {
        if (size_ != 0) buffer_[std::min(length_, size_ - 1)] = '\0';
        return length_;
    }

private:
    char* buffer_;
    size_t size_;
    size_t length_ = 0;
};

struct Spec {
    bool left = false, plus = false, space = false, alternate = false, zero = false;
    int width = 0;
    int precision = -1;  // -1: none given
    char length = 0;     // 'H' hh, 'h', 'l', 'L' ll or long double, 'z', 'j', 't'
    char conversion = 0;
};

// Writes sign/prefix, then the body, padded to the width.
void Emit(Output& out, const Spec& spec, const char* prefix, size_t prefixLength, const char* body,
          size_t bodyLength, size_t leadingZeros, bool zeroPadAllowed) {
    const size_t total = prefixLength + leadingZeros + bodyLength;
    const size_t pad = spec.width > 0 && static_cast<size_t>(spec.width) > total
                           ? static_cast<size_t>(spec.width) - total : 0;
    const bool zeroPad = spec.zero && !spec.left && zeroPadAllowed;
    if (!spec.left && !zeroPad) out.Repeat(' ', pad);
    out.Put(prefix, prefixLength);
    if (zeroPad) out.Repeat('0', pad);
    out.Repeat('0', leadingZeros);
    out.Put(body, bodyLength);
    if (spec.left) out.Repeat(' ', pad);
}

void EmitInteger(Output& out, const Spec& spec, uintmax_t magnitude, bool negative) {
    const char c = spec.conversion;
    const int base = (c == 'x' || c == 'X' || c == 'p') ? 16 : c == 'o' ? 8 : 10;
    char digits[32];
    size_t count = 0;
    if (!(magnitude == 0 && spec.precision == 0)) {
        const auto result = std::to_chars(digits, digits + sizeof digits, magnitude, base);
        count = static_cast<size_t>(result.ptr - digits);
        if (c == 'X') std::transform(digits, digits + count, digits, [](char d) {
            return (d >= 'a' && d <= 'f') ? static_cast<char>(d - 'a' + 'A') : d;
        });
    }
    char prefix[3];
    size_t prefixLength = 0;
    const bool isSigned = c == 'd' || c == 'i';
    if (negative) prefix[prefixLength++] = '-';
    else if (isSigned && spec.plus) prefix[prefixLength++] = '+';
    else if (isSigned && spec.space) prefix[prefixLength++] = ' ';
    if ((spec.alternate && magnitude != 0 && (c == 'x' || c == 'X')) || c == 'p') {
        prefix[prefixLength++] = '0';
        prefix[prefixLength++] = c == 'X' ? 'X' : 'x';
    }
    size_t leadingZeros = spec.precision > 0 && static_cast<size_t>(spec.precision) > count
                              ? static_cast<size_t>(spec.precision) - count : 0;
    if (c == 'o' && spec.alternate && leadingZeros == 0 && (count == 0 || digits[0] != '0')) leadingZeros = 1;
    Emit(out, spec, prefix, prefixLength, digits, count, leadingZeros, spec.precision < 0);
}

void EmitFloat(Output& out, const Spec& spec, double value) {
    const char c = spec.conversion;
    const bool upper = c == 'F' || c == 'E' || c == 'G';
    char prefix[1];
    size_t prefixLength = 0;
    if (std::signbit(value)) prefix[prefixLength++] = '-';
    else if (spec.plus) prefix[prefixLength++] = '+';
    else if (spec.space) prefix[prefixLength++] = ' ';
    const double magnitude = std::fabs(value);

    if (!std::isfinite(magnitude)) {
        const char* text = std::isnan(magnitude) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
        Emit(out, spec, prefix, prefixLength, text, 3, 0, false);
        return;
    }
    // Enough for the 309 integer digits of the largest double and the capped precision.
    constexpr int kMaxPrecision = 400;
    char body[768];
    int precision = spec.precision < 0 ? 6 : std::min(spec.precision, kMaxPrecision);
    std::chars_format format = std::chars_format::fixed;
    if (c == 'e' || c == 'E') format = std::chars_format::scientific;
    if (c == 'g' || c == 'G') {
        format = std::chars_format::general;
        if (precision == 0) precision = 1;
    }
    const auto result = std::to_chars(body, body + sizeof body, magnitude, format, precision);
    size_t length = result.ec == std::errc() ? static_cast<size_t>(result.ptr - body) : 0;
    if (spec.alternate && precision == 0 && format == std::chars_format::fixed && length + 1 < sizeof body) {
        body[length++] = '.';
    }
    if (upper) std::transform(body, body + length, body, [](char d) { return d == 'e' ? 'E' : d; });
    Emit(out, spec, prefix, prefixLength, body, length, 0, true);
}

// Visits the UTF-8 bytes of a UTF-16 string without allocating.
template <typename Visit>
void ForEachUtf8Byte(const WideChar* text, size_t maxUnits, Visit visit) {
    for (size_t i = 0; i < maxUnits && text[i] != 0; ++i) {
        char32_t c = static_cast<char16_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < maxUnits) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
        if (c < 0x80) {
            visit(static_cast<char>(c));
        } else if (c < 0x800) {
            visit(static_cast<char>(0xC0 | (c >> 6)));
            visit(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            visit(static_cast<char>(0xE0 | (c >> 12)));
            visit(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            visit(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            visit(static_cast<char>(0xF0 | (c >> 18)));
            visit(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            visit(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            visit(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

void EmitWide(Output& out, const Spec& spec, const WideChar* text) {
    if (text == nullptr) {
        Emit(out, spec, "", 0, "(null)", 6, 0, false);
        return;
    }
    size_t bytes = 0;
    const size_t limit = spec.precision >= 0 ? static_cast<size_t>(spec.precision) : SIZE_MAX;
    ForEachUtf8Byte(text, SIZE_MAX, [&](char) { ++bytes; });
    bytes = std::min(bytes, limit);
    const size_t pad = spec.width > 0 && static_cast<size_t>(spec.width) > bytes
                           ? static_cast<size_t>(spec.width) - bytes : 0;
    if (!spec.left) out.Repeat(' ', pad);
    size_t written = 0;
    ForEachUtf8Byte(text, SIZE_MAX, [&](char b) {
        if (written++ < bytes) out.Put(b);
    });
    if (spec.left) out.Repeat(' ', pad);
}

uintmax_t UnsignedArgument(const Spec& spec, va_list& arguments) {
    switch (spec.length) {
        case 'H': return static_cast<unsigned char>(va_arg(arguments, unsigned));
        case 'h': return static_cast<unsigned short>(va_arg(arguments, unsigned));
        case 'l': return va_arg(arguments, unsigned long);
        case 'L': return va_arg(arguments, unsigned long long);
        case 'z': return va_arg(arguments, size_t);
        case 'j': return va_arg(arguments, uintmax_t);
        case 't': return static_cast<uintmax_t>(va_arg(arguments, ptrdiff_t));
        default: return va_arg(arguments, unsigned);
    }
}

intmax_t SignedArgument(const Spec& spec, va_list& arguments) {
    switch (spec.length) {
        case 'H': return static_cast<signed char>(va_arg(arguments, int));
        case 'h': return static_cast<short>(va_arg(arguments, int));
        case 'l': return va_arg(arguments, long);
        case 'L': return va_arg(arguments, long long);
        case 'z': return static_cast<intmax_t>(va_arg(arguments, size_t));
        case 'j': return va_arg(arguments, intmax_t);
        case 't': return va_arg(arguments, ptrdiff_t);
        default: return va_arg(arguments, int);
    }
}

// Reads flags, width, precision and length; returns the conversion character
// position or null at the end of the format.
const char* ParseSpec(const char* p, Spec& spec, va_list& arguments) {
    for (;; ++p) {
        if (*p == '-') spec.left = true;
        else if (*p == '+') spec.plus = true;
        else if (*p == ' ') spec.space = true;
        else if (*p == '#') spec.alternate = true;
        else if (*p == '0') spec.zero = true;
        else break;
    }
    constexpr int kMaxField = 4096;  // keeps a bad width from writing forever
    if (*p == '*') {
        spec.width = va_arg(arguments, int);
        if (spec.width < 0) {
            spec.left = true;
            spec.width = spec.width == INT32_MIN ? kMaxField : -spec.width;
        }
        ++p;
    } else {
        while (*p >= '0' && *p <= '9') spec.width = std::min(spec.width * 10 + (*p++ - '0'), kMaxField);
    }
    spec.width = std::min(spec.width, kMaxField);
    if (*p == '.') {
        ++p;
        spec.precision = 0;
        if (*p == '*') {
            spec.precision = va_arg(arguments, int);
            if (spec.precision < 0) spec.precision = -1;
            ++p;
        } else {
            while (*p >= '0' && *p <= '9') spec.precision = std::min(spec.precision * 10 + (*p++ - '0'), kMaxField);
        }
    }
    if (*p == 'h') {
        spec.length = p[1] == 'h' ? 'H' : 'h';
        p += p[1] == 'h' ? 2 : 1;
    } else if (*p == 'l') {
        spec.length = p[1] == 'l' ? 'L' : 'l';
        p += p[1] == 'l' ? 2 : 1;
    } else if (*p == 'L' || *p == 'z' || *p == 'j' || *p == 't' || *p == 'q') {
        spec.length = *p == 'q' ? 'L' : *p;
        ++p;
    }
    spec.conversion = *p;
    return *p ? p : nullptr;
}

}  // namespace

size_t FormatV(char* buffer, size_t size, const char* format, va_list arguments) {
    Output out(buffer, size);
    va_list args;
    va_copy(args, arguments);
    for (const char* p = format; p && *p; ++p) {
        if (*p != '%') {
            out.Put(*p);
            continue;
        }
        const char* start = p;
        Spec spec;
        p = ParseSpec(p + 1, spec, args);
        if (p == nullptr) {
            out.Put(start, std::strlen(start));
            break;
        }
        switch (spec.conversion) {
            case '%': out.Put('%'); break;
            case 'd': case 'i': {
                const intmax_t value = SignedArgument(spec, args);
                const uintmax_t magnitude = value < 0 ? uintmax_t{0} - static_cast<uintmax_t>(value)
                                                      : static_cast<uintmax_t>(value);
                EmitInteger(out, spec, magnitude, value < 0);
                break;
            }
            case 'u': case 'x': case 'X': case 'o':
                EmitInteger(out, spec, UnsignedArgument(spec, args), false);
                break;
            case 'p':
                EmitInteger(out, spec, reinterpret_cast<uintptr_t>(va_arg(args, void*)), false);
                break;
            case 'c': {
                const char c = static_cast<char>(va_arg(args, int));
                Emit(out, spec, "", 0, &c, 1, 0, false);
                break;
            }
            case 's':
                if (spec.length == 'l') {
                    EmitWide(out, spec, va_arg(args, const WideChar*));
                } else {
                    const char* text = va_arg(args, const char*);
                    if (text == nullptr) text = "(null)";
                    const size_t length = spec.precision >= 0
                                              ? strnlen(text, static_cast<size_t>(spec.precision))
                                              : std::strlen(text);
                    Emit(out, spec, "", 0, text, length, 0, false);
                }
                break;
            case 'S': EmitWide(out, spec, va_arg(args, const WideChar*)); break;
            case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
                EmitFloat(out, spec, spec.length == 'L' ? static_cast<double>(va_arg(args, long double))
                                                        : va_arg(args, double));
                break;
            case 'n':
                (void)va_arg(args, void*);  // never written through
                break;
            default:  // not a conversion: keep the text as written
                out.Put(start, static_cast<size_t>(p - start + 1));
                break;
        }
    }
    va_end(args);
    return out.Finish();
}

size_t Format(char* buffer, size_t size, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const size_t length = FormatV(buffer, size, format, arguments);
    va_end(arguments);
    return length;
}

}  // namespace Keyweave
