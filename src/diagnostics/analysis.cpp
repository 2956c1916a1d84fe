// Reading a keymap with the engine's own reader while watching it: which
// lines it rejected and why (its records, not its log), which rules it stored
// on which line. The warnings are worked out from what was seen.

#include <algorithm>
#include <array>
#include <map>

#include "base/format.h"
#include "base/log.h"
#include "config/parser.h"
#include "config/text_utilities.h"
#include "diagnostics/checks.h"

namespace Keyweave::Diagnostics {
namespace {

constexpr std::array<std::string_view, 15> kWarningNames = {
    "percent-fraction",    "off-screen",         "key-bound-twice",   "two-direction-pads",
    "three-key-chord",     "unknown-key",        "shooting-mode-off", "directive-look-alike",
    "swipe-pinch-percent", "ignored-value",      "truncated-value",   "utf16",
    "rejected-but-stored", "directive-too-late", "no-effect",
};

// Watches the reader: the lines it read, the rules it stored and what it
// said, as records.
class Watcher final : public ParseObserver {
public:
    explicit Watcher(Seen& seen) : seen_(seen) {}

    void LineRead(uint32_t line, std::string_view raw, uint32_t section, bool accepted) override {
        seen_.lines.push_back({line, std::string(raw.substr(0, raw.find('\0'))), section, accepted});
    }
    void KeyRuleStored(uint32_t line, const KeySet& keys, const ActionSet& actions) override {
        seen_.rules.push_back({line, keys, 0, {actions.begin(), actions.end()}});
    }
    void GamePadActionStored(uint32_t line, uint32_t control, const Action& action) override {
        seen_.rules.push_back({line, {}, control, {&action}});
    }
    void Diagnostic(const ReaderDiagnostic& diagnostic) override {
        said_.push_back({diagnostic.line, diagnostic.column, diagnostic.length, std::string(diagnostic.name),
                         std::string(diagnostic.message)});
    }

    struct Said {
        uint32_t line, column, length;
        std::string name, message;
    };
    const std::vector<Said>& said() const { return said_; }

private:
    Seen& seen_;
    std::vector<Said> said_;
};

Diagnostic Rejected(const Watcher::Said& said) {
    return {said.line, Severity::kError, "rejected", said.message, said.column, said.length, said.name};
}

// What the reader said about each rejected line, in its own words, without
// the closing "line rejected" unless nothing else was said.
void AddRejections(const Seen& seen, const Watcher& watcher, std::vector<Diagnostic>& items) {
    std::map<uint32_t, std::vector<const Watcher::Said*>> byLine;
    for (const Watcher::Said& said : watcher.said()) byLine[said.line].push_back(&said);
    const std::string_view closing = ReaderMessages::kLineRejected.name;
    for (const SeenLine& line : seen.lines) {
        if (line.accepted) continue;
        const std::vector<const Watcher::Said*>& said = byLine[line.number];
        const size_t before = items.size();
        for (const Watcher::Said* one : said) {
            if (one->name != closing) items.push_back(Rejected(*one));
        }
        if (items.size() != before) continue;
        for (const Watcher::Said* one : said) {
            if (one->name == closing) items.push_back(Rejected(*one));
        }
    }
}

}  // namespace

void Warnings::Add(uint32_t line, std::string_view name, std::string message) {
    out_.push_back({line, Severity::kWarning, std::string(name), std::move(message), 0, 0, {}});
}

std::string Number(float value) {
    char buffer[32];
    Format(buffer, sizeof buffer, "%.2f", static_cast<double>(value));
    std::string text = buffer;
    while (text.ends_with('0')) text.pop_back();
    if (text.ends_with('.')) text.pop_back();
    return text == "-0" ? "0" : text;
}

Report Analyse(std::string_view text, const std::string& locale) {
    Config config;
    return Analyse(text, locale, config);
}

Report Analyse(std::string_view text, const std::string& locale, Config& config) {
    Report report;
    Seen seen;
    seen.text = text;
    Watcher watcher(seen);
    const Log log;  // no sink: the records say it all
    ParseContext context{log, Text::NormalizeName(locale), nullptr, nullptr};
    context.observer = &watcher;
    Config::Parser parser(config, context);
    report.readable = parser.LoadText(text);
    seen.config = &config;

    AddRejections(seen, watcher, report.items);
    if (!report.readable) {
        const std::string_view failed = ReaderMessages::kReadFailed.name;
        for (const Watcher::Said& said : watcher.said()) {
            if (said.name != failed) continue;
            report.items.push_back({said.line, Severity::kError, "unreadable", said.message, 0, 0, said.name});
        }
    }
    std::vector<Diagnostic> warnings;
    Warnings sink(warnings);
    CheckLines(seen, sink);
    CheckRules(seen, sink);
    std::stable_sort(warnings.begin(), warnings.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    report.items.insert(report.items.end(), warnings.begin(), warnings.end());
    return report;
}

std::span<const std::string_view> WarningNames() { return kWarningNames; }

const char* SeverityName(Severity severity) { return severity == Severity::kError ? "error" : "warning"; }

}  // namespace Keyweave::Diagnostics
