#include "base/text.h"

namespace Keyweave {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(WideString& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<WideChar>(c);
    } else {
        c -= 0x10000;
        out += static_cast<WideChar>(0xD800 + (c >> 10));
        out += static_cast<WideChar>(0xDC00 + (c & 0x3FF));
    }
}

}  // namespace

std::string ToUtf8(WideStringView text) {
    std::string out;
    out.reserve(text.size());
    ForEachUtf8Byte(text, [&](char byte) { out += byte; });
    return out;
}

WideString ToWide(std::string_view text) {
    WideString out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))) valid = false;
        if (!valid) {
            AppendUtf16(out, kReplacement);
            i += 1;
            continue;
        }
        AppendUtf16(out, c);
        i += length;
    }
    return out;
}

}  // namespace Keyweave
