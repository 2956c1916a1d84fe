#pragma once
// Splits a keymap file into lines, reading it in blocks.

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace Keyweave {

class LineReader {
public:
    // The longest line, without its line feed; the line buffer of the format
    // holds this many characters and a terminator.
    static constexpr size_t kMaxLineLength = 8263;

    enum class Result {
        kLine,     // `line` holds the next line, without its line feed
        kEnd,      // the file ended cleanly
        kTooLong,  // a line has more than kMaxLineLength characters
        kError,    // the system failed to read
    };

    // Reads from `file`, which stays the caller's.
    explicit LineReader(std::FILE* file) : file_(file) {}
    // Reads text already in memory, which must outlive the reader.
    explicit LineReader(std::string_view text) : text_(text) {}

    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line. A last line without a line feed is still a line; a file
    // that ends with a line feed has no empty line after it.
    [[nodiscard]] Result Next(std::string& line);

private:
    // Reads the next block; false at the end of the file or on an error.
    [[nodiscard]] bool Fill();

    std::FILE* file_ = nullptr;
    std::string_view text_;  // what is left of in-memory text
    std::array<char, 16384> block_{};
    size_t position_ = 0;  // the next unread character of block_
    size_t size_ = 0;      // characters in block_
    bool failed_ = false;
};

}  // namespace Keyweave
