#include "keymap/keymap_load.h"

#include <map>

#include "base/log.h"
#include "base/text.h"
#include "codes/key_names.h"
#include "config/parser.h"
#include "config/text_utilities.h"
#include "engine/wildcard_path.h"

namespace Keyweave::Tool {
namespace {

// Keeps the reader's records; the rest of what it sees is not needed here.
class Recorder final : public ParseObserver {
public:
    explicit Recorder(std::vector<KeymapMessage>& said) : said_(said) {}
    void LineRead(uint32_t, std::string_view, uint32_t, bool) override {}
    void KeyRuleStored(uint32_t, const KeySet&, const ActionSet&) override {}
    void GamePadActionStored(uint32_t, uint32_t, const Action&) override {}
    void Diagnostic(const ReaderDiagnostic& diagnostic) override {
        said_.push_back({diagnostic.line, std::string(diagnostic.message), std::string(diagnostic.name)});
    }

private:
    std::vector<KeymapMessage>& said_;
};

}  // namespace

// Modifiers lead, as people write combinations: "Ctrl+4", not "4+Ctrl".
std::string KeySetLabel(const KeySet& keys) {
    const auto modifier = [](uint32_t code) { return code == kKeyCtrl || code == kKeyShift || code == kKeyAlt; };
    std::string label;
    for (const bool modifiers : {true, false}) {
        for (const uint32_t code : keys) {
            if (modifier(code) != modifiers) continue;
            if (!label.empty()) label += "+";
            label += KeyNameOf(code);
        }
    }
    return label;
}

std::vector<Rejection> LoadedKeymap::Rejections() const {
    std::map<uint32_t, std::vector<const KeymapMessage*>> byLine;
    for (const KeymapMessage& message : said) {
        if (message.line != 0) byLine[message.line].push_back(&message);
    }
    std::vector<Rejection> rejections;
    for (const auto& [line, messages] : byLine) {
        const KeymapMessage* closing = nullptr;
        Rejection rejection{line, {}};
        for (const KeymapMessage* message : messages) {
            if (message->name == ReaderMessages::kLineRejected.name) {
                closing = message;
            } else if (message->name != ReaderMessages::kReadFailed.name) {
                rejection.messages.push_back(message->text);
            }
        }
        if (closing == nullptr) continue;  // the line was accepted
        if (rejection.messages.empty()) rejection.messages.push_back(closing->text);
        rejections.push_back(std::move(rejection));
    }
    return rejections;
}

KeymapMessage LoadedKeymap::Failure() const {
    if (readable || said.empty()) return {0, "", ""};
    return said.back();
}

std::vector<std::string> Diagnostics(const LoadedKeymap& keymap) {
    std::vector<std::string> lines;
    const auto place = [&](uint32_t line) {
        return line == 0 ? keymap.path + ": " : keymap.path + ":" + std::to_string(line) + ": ";
    };
    for (const Rejection& rejection : keymap.Rejections()) {
        for (const std::string& message : rejection.messages) lines.push_back(place(rejection.line) + message);
    }
    if (!keymap.readable) {
        const KeymapMessage failure = keymap.Failure();
        lines.push_back(place(failure.line) + failure.text);
    }
    return lines;
}

LoadedKeymap LoadKeymap(const std::string& path, const std::string& locale) {
    LoadedKeymap loaded;
    loaded.path = path;
    loaded.config = std::make_unique<Config>();

    Recorder recorder(loaded.said);
    const Log log;  // no sink: the records say it all
    ParseContext context{log, Text::NormalizeName(locale), nullptr, nullptr};
    context.observer = &recorder;
    Config::Parser parser(*loaded.config, context);
    const WideString widePath = ToWide(path);
    loaded.readable = parser.Load(widePath.c_str());
    return loaded;
}

LoadedKeymap LoadKeymapOrWildCard(const std::string& path, const std::string& locale, std::string& note) {
    note.clear();
    LoadedKeymap loaded = LoadKeymap(path, locale);
    if (loaded.readable) return loaded;
    const std::optional<WideString> wildCard = WildCardPath(ToWide(path), Log());
    if (!wildCard) return loaded;
    LoadedKeymap fallback = LoadKeymap(ToUtf8(*wildCard), locale);
    if (!fallback.readable) return loaded;
    note = path + ": " + loaded.Failure().text + "; loaded its wild-card keymap " + fallback.path +
           " instead, as the engine does";
    return fallback;
}

std::string PackageOfPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > 4 && name.ends_with(".cfg")) name.resize(name.size() - 4);
    return name;
}

}  // namespace Keyweave::Tool
