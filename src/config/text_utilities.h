#pragma once
// The small text cutters every keymap line goes through: trimming, comments,
// words. They work on views into the caller's line and never allocate.

#include <string>
#include <string_view>
#include <vector>

namespace Keyweave::Text {

// Without leading blanks and tabs.
[[nodiscard]] std::string_view TrimLeft(std::string_view text);
// Without trailing blanks, tabs, carriage returns and line feeds.
[[nodiscard]] std::string_view TrimRight(std::string_view text);
// The text before the first "#", or all of it.
[[nodiscard]] std::string_view StripComment(std::string_view text);
// TrimLeft(TrimRight(StripComment(text))).
[[nodiscard]] std::string_view Clean(std::string_view text);

// Takes the first word off `text`. After TrimLeft, when the text holds a
// blank or a tab, the word is what comes before the first of them, cleaned,
// and `text` becomes the rest from that blank on, trimmed on the left. When it
// holds none, the word is the whole text as it is and `text` becomes empty.
std::string_view NextWord(std::string_view& text);

// The pieces between separators, empty ones kept: "a,,b" gives three pieces
// and "" gives one empty piece.
[[nodiscard]] std::vector<std::string_view> Split(std::string_view text, char separator);

// A section or locale name as the parser compares it: every "-" becomes "_"
// and every letter is lower-cased (ASCII only, whatever the C locale).
[[nodiscard]] std::string NormalizeName(std::string_view name);

}  // namespace Keyweave::Text
