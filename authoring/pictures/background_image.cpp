#include "pictures/background_image.h"

#include "common/files.h"

namespace Keyweave::Tool {

std::string Base64(const std::string& bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (left > 1) group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += left > 1 ? kDigits[(group >> 6) & 63] : '=';
        out += left > 2 ? kDigits[group & 63] : '=';
    }
    return out;
}

bool ReadBackground(const std::string& path, std::string& uri, std::string& error) {
    std::string bytes;
    if (!ReadFile(path, bytes)) {
        error = "Cannot read the background picture " + path;
        return false;
    }
    const char* type = bytes.starts_with("\x89PNG\r\n\x1a\n") ? "image/png"
                       : bytes.starts_with("\xFF\xD8\xFF")    ? "image/jpeg"
                                                              : nullptr;
    if (type == nullptr) {
        error = "Cannot use " + path + " as a background: it is no PNG or JPEG picture";
        return false;
    }
    uri = std::string("data:") + type + ";base64," + Base64(bytes);
    return true;
}

}  // namespace Keyweave::Tool
