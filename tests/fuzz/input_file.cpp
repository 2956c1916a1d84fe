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

void DiscardLine(void* context, const char* line) {
    // strlen walks the whole line, so an unterminated one is caught by the
    // address sanitizer; the count keeps the call from being optimised away.
    auto* characters = static_cast<size_t*>(context);
    if (characters != nullptr) *characters += std::strlen(line);
}

}  // namespace Keyweave::Fuzz
