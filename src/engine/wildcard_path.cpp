#include "engine/wildcard_path.h"

namespace Keyweave {

std::optional<WideString> WildCardPath(WideStringView path, const Log& log) {
    static constexpr size_t kExtension = 4;  // ".cfg"
    WideString stem(path.substr(0, kWildCardBufferChars - 1));
    stem.resize(stem.size() > kExtension ? stem.size() - kExtension : 0);

    const size_t dot = stem.rfind(WideChar('.'));
    if (dot == WideString::npos) {
        log.Write("wild card %s", static_cast<const WideChar*>(nullptr));
        return std::nullopt;
    }
    log.Write("wild card %s", stem.c_str() + dot);
    static const WideChar kCfg[] = {'.', 'c', 'f', 'g', 0};
    WideString result = stem.substr(0, dot) + kCfg;
    log.Write("new path %s", result.c_str());
    return result;
}

}  // namespace Keyweave
