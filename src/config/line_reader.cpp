#include "config/line_reader.h"

namespace Keyweave {

LineReader::Result LineReader::Next(std::string& line) {
    line.clear();
    for (;;) {
        const int c = std::getc(file_);
        if (c == EOF) {
            if (std::ferror(file_)) return Result::kError;
            return line.empty() ? Result::kEnd : Result::kLine;
        }
        if (c == '\n') return Result::kLine;
        // A full buffer may still be followed by its line feed or the end of
        // the file; any other character makes the line too long.
        if (line.size() == kMaxLineLength) return Result::kTooLong;
        line.push_back(static_cast<char>(c));
    }
}

}  // namespace Keyweave
