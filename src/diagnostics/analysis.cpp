// Reading a keymap with the engine's own reader while watching it: which
// lines it rejected and why, which rules it stored on which line. The
// warnings are worked out from what was seen.

#include <algorithm>
#include <array>
#include <map>
#include <memory>

#include "base/format.h"
#include "base/log.h"
#include "config/parser.h"
#include "config/text_utilities.h"
#include "diagnostics/checks.h"

namespace Keyweave::Diagnostics {
namespace {

constexpr std::array<std::string_view, 15> kWarningNames = {
    "percent-fraction",  "off-screen",          "key-bound-twice", "two-direction-pads",  "three-key-chord",
    "unknown-key",       "shooting-mode-off",   "directive-look-alike", "swipe-pinch-percent", "ignored-value",
    "truncated-value",   "utf16",               "rejected-but-stored",  "directive-too-late",  "no-effect",
};

constexpr std::string_view kProcessLinePrefix = "Cannot process line: ";

// Watches the reader: its log lines with the number of the line they are
// about, the lines themselves, and the rules it stored.
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

    static void Sink(void* self, const char* text) {
        auto* watcher = static_cast<Watcher*>(self);
        const uint32_t line = watcher->parser_ != nullptr ? watcher->parser_->LineNumber() : 0;
        watcher->messages_[line].push_back(text);
    }

    void Watch(const Config::Parser* parser) { parser_ = parser; }
    const std::vector<std::string>& MessagesOf(uint32_t line) { return messages_[line]; }

private:
    Seen& seen_;
    const Config::Parser* parser_ = nullptr;
    std::map<uint32_t, std::vector<std::string>> messages_;
};

bool IsTrace(const std::string& text) { return text.starts_with("Keyweave::"); }

// The engine's messages about each rejected line: its own words, without the
// entry traces and without the closing "Cannot process line" unless nothing
// else was said.
void AddRejections(const Seen& seen, Watcher& watcher, std::vector<Diagnostic>& items) {
    for (const SeenLine& line : seen.lines) {
        if (line.accepted) continue;
        const std::vector<std::string>& messages = watcher.MessagesOf(line.number);
        const size_t before = items.size();
        for (const std::string& text : messages) {
            if (IsTrace(text) || text.starts_with(kProcessLinePrefix)) continue;
            items.push_back({line.number, Severity::kError, "rejected", text});
        }
        if (items.size() == before) {
            for (const std::string& text : messages) {
                if (text.starts_with(kProcessLinePrefix)) items.push_back({line.number, Severity::kError, "rejected", text});
            }
        }
    }
}

}  // namespace

void Warnings::Add(uint32_t line, std::string_view name, std::string message) {
    out_.push_back({line, Severity::kWarning, std::string(name), std::move(message)});
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
    Report report;
    Seen seen;
    seen.text = text;
    Watcher watcher(seen);
    Log log;
    log.SetSink(&Watcher::Sink, &watcher, false);
    const auto config = std::make_unique<Config>();
    ParseContext context{log, Text::NormalizeName(locale), nullptr, nullptr};
    context.observer = &watcher;
    Config::Parser parser(*config, context);
    watcher.Watch(&parser);
    report.readable = parser.LoadText(text);
    seen.config = config.get();

    AddRejections(seen, watcher, report.items);
    if (!report.readable) {
        const std::vector<std::string>& failure = watcher.MessagesOf(parser.LineNumber());
        const std::string why = failure.empty() ? "Cannot read line from configuration file" : failure.back();
        report.items.push_back({parser.LineNumber(), Severity::kError, "unreadable", why});
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
