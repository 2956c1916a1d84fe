#include "config/line_reader.h"

#include <cstring>

namespace Keyweave {

bool LineReader::Fill() {
    position_ = 0;
    if (file_ == nullptr) {
        size_ = text_.copy(block_.data(), block_.size());
        text_.remove_prefix(size_);
        return size_ != 0;
    }
    size_ = std::fread(block_.data(), 1, block_.size(), file_);
    if (size_ != 0) return true;
    failed_ = std::ferror(file_) != 0;
    return false;
}

LineReader::Result LineReader::Next(std::string& line) {
    line.clear();
    for (;;) {
        if (position_ == size_ && !Fill()) {
            if (failed_) return Result::kError;
            return line.empty() ? Result::kEnd : Result::kLine;
        }
        const char* start = block_.data() + position_;
        const size_t left = size_ - position_;
        const auto* feed = static_cast<const char*>(std::memchr(start, '\n', left));
        const size_t length = feed != nullptr ? static_cast<size_t>(feed - start) : left;
        // A full line may still be followed by its line feed or the end of
        // the file; any other character makes it too long.
        if (line.size() + length > kMaxLineLength) return Result::kTooLong;
        line.append(start, length);
        position_ += length;
        if (feed != nullptr) {
            ++position_;
            return Result::kLine;
        }
    }
}

}  // namespace Keyweave
