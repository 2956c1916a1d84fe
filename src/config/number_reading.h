#pragma once
// Numbers in keymap text, read with the acceptance rules of scanf's "%f" and
// "%d" but without the C library: the host may have set a C locale with a
// decimal comma, and "Tap (50.5,80)" must still read 50.5.
//
// A number is blanks (space, tab, CR, LF, VT, FF), an optional sign, then
// digits: for "%f" with an optional decimal point and exponent, for "%d"
// digits only. Only the longest prefix of that shape is taken; whatever follows
// is left for the caller. "inf", "nan" and hexadecimal floats are not keymap
// numbers and do not read.

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace Keyweave::Numbers {

// Reads a decimal number off the front of `text` and advances past it. A
// number too large for a float saturates at the largest float of its sign; one
// too small to represent becomes 0. False, with `text` and `value` unchanged,
// when no number starts there.
[[nodiscard]] bool ReadFloat(std::string_view& text, float& value);

// Reads a decimal integer off the front of `text` and advances past it. An
// integer beyond the int32 range saturates at the nearer limit.
[[nodiscard]] bool ReadInt(std::string_view& text, int32_t& value);

// Where a scan puts one converted value: a float for "%f", an int32 for "%d".
class ScanTarget {
public:
    ScanTarget(float& value) : float_(&value) {}  // NOLINT: implicit by design
    ScanTarget(int32_t& value) : int_(&value) {}  // NOLINT: implicit by design

    [[nodiscard]] bool IsFloat() const { return float_ != nullptr; }
    float& AsFloat() const { return *float_; }
    int32_t& AsInt() const { return *int_; }

private:
    float* float_ = nullptr;
    int32_t* int_ = nullptr;
};

// Reads `text` with a pattern of "%f" and "%d" conversions and ordinary
// characters, the way sscanf does: each ordinary character must match the
// text exactly, a blank in the pattern matches any run of blanks, and a
// conversion skips leading blanks. Stops at the first mismatch. Returns how
// many values were converted; the targets after them keep their values.
int Scan(std::string_view text, std::string_view pattern, std::initializer_list<ScanTarget> targets);

// `value` truncated toward zero, saturating at the int32 limits (NaN gives 0):
// a float outside the range would be undefined behaviour to convert.
[[nodiscard]] int32_t TruncateToInt32(float value);

}  // namespace Keyweave::Numbers
