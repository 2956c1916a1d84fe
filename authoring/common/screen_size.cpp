#include "common/screen_size.h"

#include <string_view>

#include "config/number_reading.h"

namespace Keyweave::Tool {
namespace {

bool ReadDimension(std::string_view text, int32_t& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    if (!Numbers::ReadInt(text, value) || !text.empty()) return false;
    return value >= 1 && value <= 100000;
}

}  // namespace

bool ParseScreenSize(const std::string& text, ScreenSize& size, std::string& error) {
    const size_t cross = text.find('x');
    ScreenSize parsed;
    if (cross == std::string::npos || !ReadDimension(std::string_view(text).substr(0, cross), parsed.width) ||
        !ReadDimension(std::string_view(text).substr(cross + 1), parsed.height)) {
        error = "Cannot read screen size '" + text + "': write width x height in pixels, like 1920x1080";
        return false;
    }
    size = parsed;
    return true;
}

}  // namespace Keyweave::Tool
