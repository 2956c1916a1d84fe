#include "input_file.h"

#include <cstring>

#include "support/scratch_dir.h"

namespace Keyweave::Fuzz {

WideString WriteInputFile(const std::string& name, const uint8_t* data, size_t size) {
    // One scratch directory for the life of the process, removed at exit.
    static const Testing::ScratchDir scratch;
    return scratch.Write(name, std::string_view(reinterpret_cast<const char*>(data), size));
}

WideString SourceTreePath(const std::string& relative) {
    return ToWide(std::string(KEYWEAVE_SOURCE_DIR) + "/" + relative);
}

// A fixed list, so that a kept input loads the same keymap for as long as the
// file exists (a load of a missing file just takes the fallback chain).
constexpr const char* kCorpusKeymaps[] = {
    "docs/images/direction-pad.cfg",  "docs/images/gamepad.cfg",
    "docs/images/mouse-aim.cfg",      "docs/images/shooting.cfg",
    "docs/images/swipes.cfg",         "docs/images/taps.cfg",
    "examples/com.example.arena.cfg", "examples/com.example.platformer.cfg",
    "examples/com.example.racer.cfg", "examples/com.example.shooter.cfg",
    "tests/tools/data/faulty.cfg",    "tests/tools/data/overlong.cfg",
};

const std::vector<WideString>& CorpusKeymaps() {
    static const std::vector<WideString> keymaps = [] {
        std::vector<WideString> paths;
        for (const char* name : kCorpusKeymaps) paths.push_back(SourceTreePath(name));
        return paths;
    }();
    return keymaps;
}

void DiscardLine(void* context, const char* line) {
    // strlen walks the whole line, so an unterminated one is caught by the
    // address sanitizer; the count keeps the call from being optimised away.
    auto* characters = static_cast<size_t*>(context);
    if (characters != nullptr) *characters += std::strlen(line);
}

}  // namespace Keyweave::Fuzz
