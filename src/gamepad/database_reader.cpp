#include "gamepad/database_reader.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>

#include "base/format.h"
#include "codes/control_codes.h"
#include "codes/control_names.h"
#include "platform/platform.h"

namespace Keyweave::GamePad {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kTrailingBlanks = " \t\r\n";

struct AxisSource {
    std::string_view name;
    uint32_t code;
};
constexpr AxisSource kAxisSources[] = {
    {"A_X", kAxisX}, {"A_Y", kAxisY}, {"A_Z", kAxisZ}, {"AR_X", kAxisRx}, {"AR_Y", kAxisRy}, {"AR_Z", kAxisRz},
};
static_assert(std::size(kAxisSources) == 6);

// In the order a button target is tested for its hat direction.
struct HatTarget {
    uint32_t code;
    HatDirection direction;
    const char* name;
};
constexpr HatTarget kHatTargets[] = {
    {kHatUp, kHatMaskUp, "up"},
    {kHatDown, kHatMaskDown, "down"},
    {kHatLeft, kHatMaskLeft, "left"},
    {kHatRight, kHatMaskRight, "right"},
};
static_assert(std::size(kHatTargets) == kHatDirectionCount);
constexpr uint32_t kHatBits = kHatUp | kHatDown | kHatLeft | kHatRight;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

enum class LineResult { kLine, kEnd, kError };

// Reads the next line into `line` without its line break ("\n" or "\r\n").
// Never keeps more than one byte beyond the limit: a longer line is an error,
// like a read error. The text ends at a NUL byte, as every name taken from the
// file is later handed on as a NUL-terminated string.
LineResult ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    bool sawByte = false;
    bool sawBreak = false;
    for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
        sawByte = true;
        if (c == '\n') {
            sawBreak = true;
            break;
        }
        // One byte of slack: a carriage return there may still be the line break.
        if (line.size() > DatabaseReader::kMaxLineLength) return LineResult::kError;
        line.push_back(static_cast<char>(c));
    }
    if (std::ferror(file)) return LineResult::kError;
    if (!sawByte) return LineResult::kEnd;
    if (sawBreak && !line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > DatabaseReader::kMaxLineLength) return LineResult::kError;
    if (const size_t nul = line.find('\0'); nul != std::string::npos) line.resize(nul);
    return LineResult::kLine;
}

// Trailing blanks, tabs and line-break characters off, then leading blanks
// and tabs.
std::string_view Trim(std::string_view text) {
    const size_t last = text.find_last_not_of(kTrailingBlanks);
    text = last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
    const size_t first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The line without its comment, trimmed.
std::string_view Strip(std::string_view line) { return Trim(line.substr(0, line.find('#'))); }

// Takes the token at the front of `text` (which starts on a non-blank) and
// leaves `text` at the next token.
std::string_view TakeToken(std::string_view& text) {
    const size_t end = std::min(text.find_first_of(kBlanks), text.size());
    const std::string_view token = text.substr(0, end);
    const size_t next = text.find_first_not_of(kBlanks, end);
    text = next == std::string_view::npos ? std::string_view() : text.substr(next);
    return token;
}

// "key = rest of the line"; `op` must be "=" on its own for a well-formed rule.
struct Rule {
    std::string key;
    std::string op;
    std::string rest;
};

Rule SplitRule(std::string_view line) {
    Rule rule;
    rule.key = TakeToken(line);
    rule.op = TakeToken(line);
    rule.rest = line;
    return rule;
}

// The raw button bit of "B_n": n is the decimal number right after "B_" and
// whatever follows it is ignored. Button n is bit (n - 1) modulo 32, so the
// digits are reduced modulo 32 as they come and any number of them is safe.
std::optional<uint32_t> RawButtonBit(std::string_view source) {
    if (!source.starts_with("B_")) return std::nullopt;
    source.remove_prefix(2);
    uint32_t number = 0;
    size_t digits = 0;
    for (; digits < source.size() && source[digits] >= '0' && source[digits] <= '9'; ++digits) {
        number = (number * 10 + static_cast<uint32_t>(source[digits] - '0')) % 32;
    }
    if (digits == 0) return std::nullopt;
    return uint32_t{1} << ((number + 31) % 32);
}

}  // namespace

bool DatabaseReader::Read() {
    const File file(Platform::OpenForReading(device_.databasePath.c_str()));
    if (!file) {
        log_.Write("Cannot open database file %s", device_.databasePath.c_str());
        unreadable_ = true;
        return false;
    }
    std::string line;
    for (;;) {
        const LineResult result = ReadLine(file.get(), line);
        if (result == LineResult::kEnd) break;
        if (result == LineResult::kError) {
            log_.Write("Cannot read line from database file");
            unreadable_ = true;
            return false;
        }
        if (!ProcessLine(line)) {
            log_.Write("Cannot process line: %s", line.c_str());
            return false;
        }
    }
    return !hardwareName_.empty();
}

bool DatabaseReader::ProcessLine(std::string_view line) {
    const std::string_view stripped = Strip(line);
    if (stripped.empty()) return true;
    if (stripped.front() == '[') return ProcessHeader(stripped);
    switch (section_) {
        case Section::kNone:
            log_.Write("No section specifier for rule '%s'", std::string(stripped).c_str());
            return false;
        case Section::kHardware:
            return ProcessHardwareRule(stripped);
        case Section::kSkipped:
            return true;
        case Section::kMapping:
            return ProcessMappingRule(stripped);
    }
    return false;
}

bool DatabaseReader::ProcessHeader(std::string_view line) {
    if (line.back() != ']') {
        log_.Write("Invalid section specifier: %s", std::string(line).c_str());
        return false;
    }
    sectionName_.clear();
    const std::string_view name = Trim(line.substr(1, line.size() - 2));
    if (name == "Hardware" || name == "Hardware.Win32") {
        section_ = Section::kHardware;
    } else if (name == "Hardware.MacOS" || name == "Hardware.Linux") {
        section_ = Section::kSkipped;
    } else {
        section_ = Section::kMapping;
        sectionName_ = name;
    }
    return true;
}

bool DatabaseReader::ProcessHardwareRule(std::string_view line) {
    const Rule rule = SplitRule(line);
    if (rule.op != "=") {
        log_.Write("Rule missing assignment operator: %s", std::string(line).c_str());
        return false;
    }
    if (rule.rest.empty()) {
        log_.Write("Rule missing value: %s", std::string(line).c_str());
        return false;
    }
    char ids[32];
    Format(ids, sizeof ids, "%04x:%04x", device_.vendor, device_.product);
    if (rule.key == ids) {
        hardwareName_ = rule.rest;
        log_.Write("Found matching hardware '%s'", hardwareName_.c_str());
    }
    return true;
}

bool DatabaseReader::ProcessMappingRule(std::string_view line) {
    // Only the mapping of the hardware already found counts; any other
    // section is skipped unchecked.
    if (hardwareName_.empty() || sectionName_ != hardwareName_) return true;
    const Rule rule = SplitRule(line);
    if (rule.op != "=") {
        log_.Write("Rule missing assignment operator: %s", std::string(line).c_str());
        return false;
    }
    if (rule.rest.empty()) {
        log_.Write("Rule missing target: %s", std::string(line).c_str());
        return false;
    }
    if (rule.key == "Layout") {
        device_.layoutName = rule.rest;
        return true;
    }
    switch (rule.key.front()) {
        case 'A':
            return ApplyAxisRule(rule.key, rule.rest);
        case 'H':
            return ApplyHatRule(rule.key, rule.rest);
        case 'B':
            return ApplyButtonRule(rule.key, rule.rest);
        default:
            log_.Write("Unknown rule source: %s", std::string(line).c_str());
            return false;
    }
}

bool DatabaseReader::ApplyAxisRule(std::string_view source, std::string_view target) {
    if (source == "A" && target == "H") {
        device_.hatFromPrimaryAxes = true;
        log_.Detail("Mapping primary axis to hat");
        return true;
    }
    const auto* axis = std::find_if(std::begin(kAxisSources), std::end(kAxisSources),
                                    [source](const AxisSource& known) { return known.name == source; });
    const uint32_t targetCode = LookupDatabaseTarget(target);
    if (axis != std::end(kAxisSources) && targetCode != kNoControl) {
        device_.axisTransforms[axis->code] = targetCode;
        log_.Detail("Adding axis transform %08x -> %08x", axis->code, targetCode);
        return true;
    }
    log_.Write("Cannot parse axis rule '%s = %s'", std::string(source).c_str(), std::string(target).c_str());
    return false;
}

bool DatabaseReader::ApplyHatRule(std::string_view source, std::string_view target) {
    if (source == "H" && target == "H") {
        device_.hatFromReportHat = true;
        log_.Detail("Mapping hat to hat");
        return true;
    }
    log_.Write("Cannot parse hat rule '%s = %s'", std::string(source).c_str(), std::string(target).c_str());
    return false;
}

bool DatabaseReader::ApplyButtonRule(std::string_view source, std::string_view target) {
    const std::optional<uint32_t> rawBit = RawButtonBit(source);
    const uint32_t targetCode = LookupDatabaseTarget(target);
    if (!rawBit || targetCode == kNoControl) {
        log_.Write("Cannot parse button rule '%s = %s'", std::string(source).c_str(), std::string(target).c_str());
        return false;
    }
    if ((targetCode & kHatBits) == 0) {
        device_.buttonTransforms[*rawBit] = targetCode;
        log_.Detail("Adding button transform %08x -> %08x", *rawBit, targetCode);
        return true;
    }
    if (!buttonsDriveHat_) {
        buttonsDriveHat_ = true;
        device_.hatFromButtons = true;
        log_.Detail("Mapping buttons to hat");
    }
    for (const HatTarget& hat : kHatTargets) {
        if ((targetCode & hat.code) == 0) continue;
        device_.hatButtonMasks[hat.direction] = *rawBit;
        log_.Detail("Mapping button %08x to hat %s", *rawBit, hat.name);
        break;
    }
    return true;
}

bool Prepare(Device& device, const Log& log, PrepareReport* report) {
    log.Write("Preparing GamePad");
    DatabaseReader reader(device, log);
    const bool read = reader.Read();
    if (report != nullptr) *report = {reader.HardwareName(), reader.Unreadable()};
    if (read) return true;
    log.Write("Cannot parse GamePad database");
    return false;
}

}  // namespace Keyweave::GamePad
