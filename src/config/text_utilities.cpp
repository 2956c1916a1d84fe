#include "config/text_utilities.h"

namespace Keyweave::Text {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

}  // namespace

std::string_view TrimLeft(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    return text.substr(start);
}

std::string_view TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && IsLineSpace(text[end - 1])) --end;
    return text.substr(0, end);
}

std::string_view StripComment(std::string_view text) { return text.substr(0, text.find('#')); }

std::string_view Clean(std::string_view text) { return TrimLeft(TrimRight(StripComment(text))); }

std::string_view NextWord(std::string_view& text) {
    text = TrimLeft(text);
    const size_t blank = text.find_first_of(" \t");
    if (blank == std::string_view::npos) {
        const std::string_view word = text;
        text = {};
        return word;
    }
    const std::string_view word = Clean(text.substr(0, blank));
    text = TrimLeft(text.substr(blank));
    return word;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (;;) {
        const size_t at = text.find(separator);
        pieces.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return pieces;
        text.remove_prefix(at + 1);
    }
}

std::string NormalizeName(std::string_view name) {
    std::string normalized(name);
    for (char& c : normalized) {
        if (c == '-') {
            c = '_';
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return normalized;
}

}  // namespace Keyweave::Text
