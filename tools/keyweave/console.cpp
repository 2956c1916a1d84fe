#include "console.h"

namespace Keyweave::Tool {

void Console::Line(std::string_view text) {
    out_.append(text);
    out_.push_back('\n');
}

void Console::ErrorLine(std::string_view text) {
    err_.append(text);
    err_.push_back('\n');
}

}  // namespace Keyweave::Tool
