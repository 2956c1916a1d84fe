#include "support/scratch_dir.h"

#include <atomic>
#include <fstream>
#include <random>

namespace Keyweave::Testing {
namespace fs = std::filesystem;

namespace {

fs::path FromUtf8(const std::string& name) { return fs::path(std::u8string(name.begin(), name.end())); }

}  // namespace

ScratchDir::ScratchDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("keyweave-" + std::to_string(random()) + "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(root_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

WideString ScratchDir::PathOf(const std::string& name) const {
    const std::u8string utf8 = (root_ / FromUtf8(name)).u8string();
    return ToWide(std::string(utf8.begin(), utf8.end()));
}

WideString ScratchDir::Write(const std::string& name, std::string_view content) const {
    const fs::path path = root_ / FromUtf8(name);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return PathOf(name);
}

}  // namespace Keyweave::Testing
