// Reading a keymap file: opening it, cutting it into lines and sorting each
// line into directive, section header or rule.

#include "config/parser.h"

#include <cstring>
#include <memory>

#include "config/line_reader.h"
#include "config/text_utilities.h"
#include "platform/platform.h"

namespace Keyweave {
namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool StartsWithUtf16Mark(std::string_view line) { return line.starts_with("\xFE\xFF") || line.starts_with("\xFF\xFE"); }

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

void Config::Parser::Report(const ReaderMessages::ReaderMessage& message, std::string_view text,
                            std::string_view span) const {
    if (!context_.log.Enabled() && context_.observer == nullptr) return;
    char line[Log::kLineBytes];
    if (std::strchr(message.format, '%') != nullptr) {
        Format(line, sizeof line, message.format, std::string(text).c_str());
    } else {
        Format(line, sizeof line, "%s", message.format);
    }
    context_.log.Write("%s", line);
    if (context_.observer == nullptr) return;
    ReaderDiagnostic diagnostic;
    diagnostic.file = fileUtf8_;
    diagnostic.line = lineNumber_;
    diagnostic.name = message.name;
    diagnostic.message = line;
    if (span.empty()) span = text;
    // A piece of the line being read: its place there. Text the reader made
    // itself (a normalised name) lies elsewhere and has none.
    const char* begin = rawLine_.data();
    if (!span.empty() && begin != nullptr && span.data() >= begin &&
        span.data() + span.size() <= begin + rawLine_.size()) {
        diagnostic.column = static_cast<uint32_t>(span.data() - begin) + 1;
        diagnostic.length = static_cast<uint32_t>(span.size());
    }
    context_.observer->Diagnostic(diagnostic);
}

bool Config::Parser::Load(const WideChar* path) {
    path_ = WideFromHost(path);
    if (context_.observer != nullptr) fileUtf8_ = ToUtf8(path_);
    section_ = kNoSection;
    const std::unique_ptr<std::FILE, CloseFile> file(path ? Platform::OpenForReading(path) : nullptr);
    if (!file) {
        if (context_.observer != nullptr || context_.log.Enabled()) {
            Report(ReaderMessages::kOpenFailed, ToUtf8(path_));
        }
        return false;
    }
    LineReader reader(file.get());
    return ReadLines(reader);
}

bool Config::Parser::LoadText(std::string_view text) {
    path_.clear();
    fileUtf8_.clear();
    section_ = kNoSection;
    LineReader reader(text);
    return ReadLines(reader);
}

bool Config::Parser::ReadLines(LineReader& reader) {
    std::string line;
    lineNumber_ = 0;
    LineReader::Result result;
    for (;;) {
        ++lineNumber_;
        result = reader.Next(line);
        if (result != LineReader::Result::kLine) break;
        rawLine_ = line;
        const bool accepted = ProcessLine(line);
        // The whole line, up to a NUL byte: what the format prints of it.
        if (!accepted) Report(ReaderMessages::kLineRejected, std::string_view(line).substr(0, line.find('\0')));
        if (context_.observer != nullptr) context_.observer->LineRead(lineNumber_, line, section_, accepted);
    }
    rawLine_ = {};
    if (result != LineReader::Result::kEnd) {
        Report(ReaderMessages::kReadFailed);
        return false;
    }
    if (config_.mEnableShootingMode != 0) config_.CompleteShootingMode();
    return true;
}

bool Config::Parser::ProcessLine(std::string_view rawLine) {
    // A line is a C string in the format: its text ends at a NUL byte.
    rawLine = rawLine.substr(0, rawLine.find('\0'));
    std::string_view line = Text::TrimRight(Text::TrimLeft(rawLine));
    if (StartsWithUtf16Mark(line)) {
        Report(ReaderMessages::kUtf16Mark);
        return false;
    }
    if (line.starts_with(kUtf8Mark)) {
        Report(ReaderMessages::kUtf8Mark);
        line.remove_prefix(kUtf8Mark.size());  // what follows the mark is not trimmed again
    }
    if (line.empty()) return true;
    if (line.front() == '#') return ProcessDirective(line);
    if (line.front() == '[') return ProcessSectionHeader(line);
    return ProcessRule(line);
}

}  // namespace Keyweave
