#include "common/files.h"

#include <cstdio>
#include <memory>

#include "base/text.h"
#include "platform/platform.h"

namespace Keyweave::Tool {
namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

}  // namespace

bool WriteFile(const std::string& path, std::string_view text) {
    const WideString wide = ToWide(path);
    const File file(Platform::OpenForWriting(wide.c_str()));
    if (!file) return false;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) return false;
    return std::fflush(file.get()) == 0;
}

bool ReadFile(const std::string& path, std::string& text) {
    const WideString wide = ToWide(path);
    const File file(Platform::OpenForReading(wide.c_str()));
    if (!file) return false;
    text.clear();
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, count);
    return std::ferror(file.get()) == 0;
}

}  // namespace Keyweave::Tool
