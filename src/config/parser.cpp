// Reading a keymap file: opening it, cutting it into lines and sorting each
// line into directive, section header or rule.

#include "config/parser.h"

#include <memory>

#include "config/line_reader.h"
#include "config/text_utilities.h"
#include "platform/platform.h"

namespace Keyweave {
namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool StartsWithUtf16Mark(std::string_view line) {
    return line.starts_with("\xFE\xFF") || line.starts_with("\xFF\xFE");
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

void Config::Parser::Report(const char* format, std::string_view text) const {
    context_.log.Write(format, std::string(text).c_str());
}

bool Config::Parser::Load(const WideChar* path) {
    path_ = WideFromHost(path);
    section_ = kNoSection;
    const std::unique_ptr<std::FILE, CloseFile> file(path ? Platform::OpenForReading(path) : nullptr);
    if (!file) {
        context_.log.Write("Cannot open configuration file %s", path_.c_str());
        return false;
    }
    LineReader reader(file.get());
    return ReadLines(reader);
}

bool Config::Parser::LoadText(std::string_view text) {
    path_.clear();
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
        const bool accepted = ProcessLine(line);
        if (!accepted) Report("Cannot process line: %s", line);
        if (context_.observer != nullptr) context_.observer->LineRead(lineNumber_, line, section_, accepted);
    }
    if (result != LineReader::Result::kEnd) {
        context_.log.Write("Cannot read line from configuration file");
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
        context_.log.Write("Found unexpected UTF-16 BOM");
        return false;
    }
    if (line.starts_with(kUtf8Mark)) {
        context_.log.Write("Ignoring UTF-8 BOM");
        line.remove_prefix(kUtf8Mark.size());  // what follows the mark is not trimmed again
    }
    if (line.empty()) return true;
    if (line.front() == '#') return ProcessDirective(line);
    if (line.front() == '[') return ProcessSectionHeader(line);
    return ProcessRule(line);
}

}  // namespace Keyweave
