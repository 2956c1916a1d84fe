#pragma once
// UTF-16 strings as the host passes them (file paths), and their conversion.

#include <string>
#include <string_view>

#include "keyweave/keyweave.h"

namespace Keyweave {

using WideChar = KeyweaveChar16;
using WideString = std::basic_string<WideChar>;
using WideStringView = std::basic_string_view<WideChar>;

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(WideStringView text);
// The same bytes, handed one at a time to visit(char) without allocating.
template <typename Visit>
void ForEachUtf8Byte(WideStringView text, Visit visit);
// UTF-8 to UTF-16; a malformed byte becomes U+FFFD.
[[nodiscard]] WideString ToWide(std::string_view text);

// A host string that may be null.
[[nodiscard]] inline WideString WideFromHost(const WideChar* text) { return text ? WideString(text) : WideString(); }

template <typename Visit>
void ForEachUtf8Byte(WideStringView text, Visit visit) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char16_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            const char32_t low = static_cast<char16_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;
        if (c < 0x80) {
            visit(static_cast<char>(c));
            continue;
        }
        const int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
        visit(static_cast<char>(kLead[tail] | (c >> (6 * tail))));
        for (int k = tail - 1; k >= 0; --k) visit(static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F)));
    }
}

}  // namespace Keyweave
