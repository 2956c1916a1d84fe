#pragma once
// Reads a keymap file line by line, each line bounded in length. Bytes are
// taken as they are: a NUL byte, a carriage return or any 8-bit value is just
// a character of the line.

#include <cstdio>
#include <string>

namespace Keyweave {

class LineReader {
public:
    // The longest line, without its line feed; the line buffer of the format
    // holds this many characters and a terminator.
    static constexpr size_t kMaxLineLength = 8263;

    enum class Result {
        kLine,      // `line` holds the next line, without its line feed
        kEnd,       // the file ended cleanly
        kTooLong,   // a line has more than kMaxLineLength characters
        kError,     // the system failed to read
    };

    // Reads from `file`, which stays the caller's.
    explicit LineReader(std::FILE* file) : file_(file) {}

    // The next line. A last line without a line feed is still a line; a file
    // that ends with a line feed has no empty line after it.
    Result Next(std::string& line);

private:
    std::FILE* file_;
};

}  // namespace Keyweave
