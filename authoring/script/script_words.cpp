#include "script/script_words.h"

#include <charconv>
#include <system_error>

#include "codes/key_names.h"
#include "config/number_reading.h"
#include "script/script.h"

namespace Keyweave::Tool {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads a quoted word starting at line[at] == '"'; `at` ends after it.
bool ReadQuoted(std::string_view line, size_t& at, std::string& text, std::string& error) {
    for (++at; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            ++at;
            if (at < line.size() && !IsBlank(line[at])) {
                error = "Cannot read text after a closing quote without a blank";
                return false;
            }
            return true;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++at >= line.size()) break;
        switch (line[at]) {
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case '\\':
                text += '\\';
                break;
            case '"':
                text += '"';
                break;
            case 'x': {
                uint32_t byte = 0;
                if (at + 2 >= line.size() || !ReadHex(line.substr(at + 1, 2), 2, byte)) {
                    error = "Cannot read the escape \\x without two hexadecimal digits";
                    return false;
                }
                text += static_cast<char>(byte);
                at += 2;
                break;
            }
            default:
                error = std::string("Cannot read the escape \\") + line[at] + R"( (use \n \t \\ \" or \xHH))";
                return false;
        }
    }
    error = "Cannot find the closing quote";
    return false;
}

}  // namespace

bool ReadHex(std::string_view text, size_t digits, uint32_t& value) {
    if (text.empty() || text.size() > digits) return false;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value, 16);
    return failure == std::errc{} && stop == end;
}

bool SplitScriptLine(std::string_view line, std::vector<ScriptWord>& words, size_t& end, std::string& error) {
    size_t at = 0;
    end = line.size();
    while (at < line.size()) {
        if (IsBlank(line[at])) {
            ++at;
            continue;
        }
        if (line[at] == '#') {
            end = at;
            break;
        }
        ScriptWord token;
        if (line[at] == '"') {
            token.quoted = true;
            if (!ReadQuoted(line, at, token.text, error)) return false;
        } else {
            const size_t start = at;
            while (at < line.size() && !IsBlank(line[at])) ++at;
            token.text = std::string(line.substr(start, at - start));
        }
        words.push_back(std::move(token));
    }
    return true;
}

bool WordReader::Fail(const std::string& message) {
    error = message;
    return false;
}

bool WordReader::Usage() { return Fail(std::string("Cannot read this command: write ") + usage); }

bool WordReader::Count(ScriptWords args, size_t count) { return args.size() == count || Usage(); }

bool WordReader::Float(const ScriptWord& token, float& value) {
    std::string_view text = token.text;
    if (!text.empty() && !IsBlank(text.front()) && Numbers::ReadFloat(text, value) && text.empty()) return true;
    return Fail("Cannot read '" + token.text + "' as a number");
}

bool WordReader::Percent(const ScriptWord& token, float& fraction) {
    if (!Float(token, fraction)) return false;
    fraction /= 100.0f;
    return true;
}

bool WordReader::Integer(const ScriptWord& token, int64_t& value) {
    std::string_view text = token.text;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        uint32_t hex = 0;
        if (!ReadHex(text, 8, hex)) return Fail("Cannot read '" + token.text + "' as a number");
        value = hex;
        return true;
    }
    int32_t decimal = 0;
    if (!text.empty() && !IsBlank(text.front()) && Numbers::ReadInt(text, decimal) && text.empty()) {
        value = decimal;
        return true;
    }
    return Fail("Cannot read '" + token.text + "' as a whole number");
}

bool WordReader::Int32(const ScriptWord& token, int32_t& value) {
    int64_t wide = 0;
    if (!Integer(token, wide)) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(wide));
    return true;
}

bool WordReader::Millis(const ScriptWord& token, int64_t& value) {
    if (!Integer(token, value)) return false;
    if (value < 0 || value > kLongestTimeMs) {
        return Fail("Cannot use " + token.text + " ms: times go from 0 to " + std::to_string(kLongestTimeMs));
    }
    return true;
}

bool WordReader::Key(const ScriptWord& token, uint32_t& code) {
    code = KeyCodeOf(token.text);
    if (code != kNoKey) return true;
    if (!token.text.empty() && token.text.front() >= '0' && token.text.front() <= '9') {
        int64_t number = 0;
        if (!Integer(token, number)) return false;
        code = static_cast<uint32_t>(number);
        return true;
    }
    return Fail("Cannot find key '" + token.text +
                "' (key names are case-sensitive, as in keymaps: Space, F1, "
                "LeftClick; or give a scan code)");
}

bool WordReader::Word(const ScriptWord& token, std::initializer_list<const char*> words, size_t& index) {
    index = 0;
    for (const char* word : words) {
        if (token.text == word) return true;
        ++index;
    }
    return Usage();
}

bool WordReader::Switch(const ScriptWord& token, bool& on) {
    size_t index;
    if (!Word(token, {"off", "on"}, index)) return false;
    on = index == 1;
    return true;
}

}  // namespace Keyweave::Tool
