#include "config/number_reading.h"

#include <algorithm>
#include <cmath>
#include <fast_float/fast_float.h>
#include <limits>

namespace Keyweave::Numbers {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view SkipSpace(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsSpace(text[start])) ++start;
    return text.substr(start);
}

size_t CountDigits(std::string_view text, size_t from) {
    size_t end = from;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return end - from;
}

// The shape of a decimal number at the front of a text: where its parts are.
struct DecimalShape {
    size_t mantissaStart = 0;  // after the sign
    size_t integerDigits = 0;
    size_t fractionDigits = 0;
    size_t end = 0;  // one past the last character taken
};

// False when no digit starts the mantissa.
bool MeasureDecimal(std::string_view text, DecimalShape& shape) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    shape.mantissaStart = at;
    shape.integerDigits = CountDigits(text, at);
    at += shape.integerDigits;
    if (at < text.size() && text[at] == '.') {
        shape.fractionDigits = CountDigits(text, at + 1);
        at += 1 + shape.fractionDigits;
    }
    if (shape.integerDigits + shape.fractionDigits == 0) return false;
    shape.end = at;
    // An exponent counts only when at least one digit follows its letter.
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        size_t digitsAt = at + 1;
        if (digitsAt < text.size() && (text[digitsAt] == '+' || text[digitsAt] == '-')) ++digitsAt;
        const size_t digits = CountDigits(text, digitsAt);
        if (digits > 0) shape.end = digitsAt + digits;
    }
    return true;
}

}  // namespace

bool ReadFloat(std::string_view& text, float& value) {
    const std::string_view number = SkipSpace(text);
    DecimalShape shape;
    if (!MeasureDecimal(number, shape)) return false;
    const bool negative = number[0] == '-';
    const char* first = number.data() + shape.mantissaStart;
    const char* last = number.data() + shape.end;
    float magnitude = 0.0f;
    // fast_float reads the same digits to the same float on every target and
    // in every locale. A number too large to hold comes back infinite and
    // saturates at the largest float; one too small to hold comes back 0.
    const auto [stop, error] = fast_float::from_chars(first, last, magnitude, fast_float::chars_format::general);
    if (error != std::errc() || stop != last) return false;
    if (std::isinf(magnitude)) magnitude = std::numeric_limits<float>::max();
    value = negative ? -magnitude : magnitude;
    text = number.substr(shape.end);
    return true;
}

bool ReadInt(std::string_view& text, int32_t& value) {
    const std::string_view number = SkipSpace(text);
    size_t at = 0;
    bool negative = false;
    if (at < number.size() && (number[at] == '+' || number[at] == '-')) {
        negative = number[at] == '-';
        ++at;
    }
    const size_t digits = CountDigits(number, at);
    if (digits == 0) return false;
    // Accumulate in 64 bits and stop growing past the int32 range, so that an
    // integer of any length saturates instead of overflowing.
    constexpr int64_t kLimit = int64_t{1} << 31;
    int64_t magnitude = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (magnitude <= kLimit) magnitude = magnitude * 10 + (number[i] - '0');
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int32_t>(
        std::clamp<int64_t>(signedValue, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    text = number.substr(at + digits);
    return true;
}

int Scan(std::string_view text, std::string_view pattern, std::initializer_list<ScanTarget> targets) {
    int converted = 0;
    const ScanTarget* target = targets.begin();
    for (size_t p = 0; p < pattern.size(); ++p) {
        const char c = pattern[p];
        if (c == '%' && p + 1 < pattern.size()) {
            const char conversion = pattern[++p];
            if (conversion != 'f' && conversion != 'd') return converted;
            if (target == targets.end() || target->IsFloat() != (conversion == 'f')) return converted;
            const bool read = target->IsFloat() ? ReadFloat(text, target->AsFloat()) : ReadInt(text, target->AsInt());
            if (!read) return converted;
            ++converted;
            ++target;
        } else if (IsSpace(c)) {
            text = SkipSpace(text);
        } else {
            if (text.empty() || text.front() != c) return converted;
            text.remove_prefix(1);
        }
    }
    return converted;
}

int32_t TruncateToInt32(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace Keyweave::Numbers
