// Section headers, and the rules of the [keys] and [strings] sections.

#include <iterator>
#include <utility>
#include <vector>

#include "codes/key_names.h"
#include "config/parser.h"
#include "config/text_utilities.h"

namespace Keyweave {

bool Config::Parser::ProcessSectionHeader(std::string_view line) {
    if (!line.ends_with(']')) {
        Report(ReaderMessages::kSectionSpecifier, line);
        return false;
    }
    const std::string name = Text::NormalizeName(Text::Clean(line.substr(1, line.size() - 2)));

    struct Header {
        std::string_view name;
        Section section;
    };
    static constexpr Header kHeaders[] = {
        {"origin", kOrigin},   {"keys", kKeys},         {"guidance", kGuidance},
        {"gamepad", kGamePad}, {"gamepad2", kGamePad2}, {"opensensor", kOpenSensor},
        {"strings", kStrings},
    };
    static_assert(std::size(kHeaders) == 7);
    for (const Header& header : kHeaders) {
        if (name == header.name) {
            section_ = header.section;
            return true;
        }
    }

    constexpr std::string_view kStringsPrefix = "strings.";
    const std::string locale = Text::NormalizeName(context_.locale);
    if (!locale.empty() && name == std::string(kStringsPrefix) + locale) {
        section_ = kLocalStrings;
        return true;
    }
    if (name.starts_with(kStringsPrefix)) {
        section_ = kOtherStrings;
        return true;
    }
    section_ = kNoSection;
    Report(ReaderMessages::kSectionName, name, line);
    return false;
}

bool Config::Parser::ProcessRule(std::string_view rule) {
    switch (section_) {
        case kNoSection:
            Report(ReaderMessages::kNoSection, rule);
            return false;
        case kOrigin:
        case kGuidance:
        case kOtherStrings:
            return true;
        case kKeys:
            return ParseKeysRule(rule);
        case kGamePad:
            return ParseGamePadRule(rule);
        case kGamePad2:
            return ParseGamePadActionRule(rule);
        case kOpenSensor:
            return ParseOpenSensorRule(rule);
        case kStrings:
            return ParseStringRule(rule, config_.mStrings);
        case kLocalStrings:
            return ParseStringRule(rule, config_.mLocalStrings);
    }
    return false;
}

bool Config::Parser::ExpectAssignment(std::string_view rule, std::string_view& rest) {
    if (Text::NextWord(rest) == "=") return true;
    Report(ReaderMessages::kNoAssignment, rule);
    return false;
}

bool Config::Parser::ParseKeysRule(std::string_view rule) {
    std::string_view rest = rule;
    const std::string_view spec = Text::NextWord(rest);
    KeySet keys;
    for (std::string_view name : Text::Split(spec, ',')) {
        const uint32_t code = KeyCodeOf(name);
        if (code == kNoKey) {
            Report(ReaderMessages::kKeySpec, rule);
            return false;
        }
        keys.insert(code);
    }
    if (!ExpectAssignment(rule, rest)) return false;

    // The records stay ours until every action text has parsed: a rule that
    // fails leaves nothing behind.
    std::vector<Record> actions;
    for (std::string_view text : Text::Split(rest, ';')) {
        Record action = ParseKeyAction(text);
        if (!action) {
            Report(ReaderMessages::kKeysRule, rule);
            return false;
        }
        actions.push_back(std::move(action));
    }

    if (keys.size() >= 2 && !config_.mMultiKeyAware) {
        context_.log.Write("Marking config multi-key aware");
        config_.mMultiKeyAware = true;
    }
    ActionSet set;
    for (Record& action : actions) {
        action->ruleSection = kKeys;
        action->ruleLine = lineNumber_;
        set.insert(config_.Adopt(std::move(action)));
    }
    // A later rule for the same keys replaces the earlier one's actions, which
    // the configuration still owns and frees with itself.
    ActionSet& stored = config_.mKeyRules[keys];
    stored = std::move(set);
    if (context_.observer != nullptr) context_.observer->KeyRuleStored(lineNumber_, keys, stored);
    return true;
}

bool Config::Parser::ParseStringRule(std::string_view rule, std::map<std::string, std::string>& strings) {
    std::string_view value = rule;
    const std::string_view key = Text::NextWord(value);
    if (!ExpectAssignment(rule, value)) return false;
    strings[std::string(key)] = std::string(value);
    return true;
}

}  // namespace Keyweave
