#pragma once
// The size of the guest screen in pixels, which positions in percent refer to.

#include <cstdint>
#include <string>

namespace Keyweave::Tool {

struct ScreenSize {
    int32_t width = 1920;
    int32_t height = 1080;
};

// "WxH" in pixels, each from 1 to 100000. False with a message otherwise.
[[nodiscard]] bool ParseScreenSize(const std::string& text, ScreenSize& size, std::string& error);

}  // namespace Keyweave::Tool
