#include "config/config_loader.h"

#include "config/dump.h"
#include "config/parser.h"

namespace Keyweave {

std::unique_ptr<Config> LoadConfig(const WideChar* path, const ParseContext& context) {
    auto config = std::make_unique<Config>();
    Config::Parser parser(*config, context);
    if (!parser.Load(path)) return nullptr;
    DumpToLog(*config, context.log);
    return config;
}

}  // namespace Keyweave
