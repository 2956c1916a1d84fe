#include "import/property_list.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <fast_float/fast_float.h>
#include <tinyxml2.h>

namespace Keyweave::Tool::Import {
namespace {

using Json = nlohmann::json;
using tinyxml2::XMLElement;

std::string At(const XMLElement& element) {
    return "<" + std::string(element.Name()) + "> on line " + std::to_string(element.GetLineNum());
}

// The element's text without the blanks around it.
std::string_view Text(const XMLElement& element) {
    std::string_view text = element.GetText() != nullptr ? element.GetText() : "";
    while (!text.empty() && std::strchr(" \t\r\n", text.front()) != nullptr) text.remove_prefix(1);
    while (!text.empty() && std::strchr(" \t\r\n", text.back()) != nullptr) text.remove_suffix(1);
    return text;
}

bool Value(const XMLElement& element, Json& value, std::string& error);

bool Dictionary(const XMLElement& element, Json& value, std::string& error) {
    value = Json::object();
    for (const XMLElement* key = element.FirstChildElement(); key != nullptr;) {
        if (std::strcmp(key->Name(), "key") != 0) {
            error = "it is no property list: " + At(*key) + " stands where a <key> belongs";
            return false;
        }
        const XMLElement* item = key->NextSiblingElement();
        if (item == nullptr) {
            error = "it is no property list: the " + At(*key) + " has no value";
            return false;
        }
        if (!Value(*item, value[std::string(Text(*key))], error)) return false;
        key = item->NextSiblingElement();
    }
    return true;
}

bool Value(const XMLElement& element, Json& value, std::string& error) {
    const std::string_view name = element.Name();
    const std::string_view text = Text(element);
    if (name == "dict") return Dictionary(element, value, error);
    if (name == "array") {
        value = Json::array();
        for (const XMLElement* item = element.FirstChildElement(); item != nullptr; item = item->NextSiblingElement()) {
            if (!Value(*item, value.emplace_back(), error)) return false;
        }
        return true;
    }
    if (name == "string" || name == "date" || name == "data") {
        value = std::string(text);
        return true;
    }
    if (name == "true" || name == "false") {
        value = name == "true";
        return true;
    }
    if (name == "integer") {
        long long number = 0;
        const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (status == std::errc() && end == text.data() + text.size() && !text.empty()) {
            value = number;
            return true;
        }
    } else if (name == "real") {
        double number = 0;
        const auto [end, status] = fast_float::from_chars(text.data(), text.data() + text.size(), number);
        if (status == std::errc() && end == text.data() + text.size() && std::isfinite(number)) {
            value = number;
            return true;
        }
    } else {
        error = "it is no property list: " + At(element) + " is no property list value";
        return false;
    }
    error = "it is no property list: the " + At(element) + " holds '" + std::string(text) + "', not a number";
    return false;
}

}  // namespace

bool ReadPropertyList(const std::string& xml, Json& root, std::string& error) {
    tinyxml2::XMLDocument document;
    if (document.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS) {
        error = std::string("it is not XML: ") + document.ErrorName() + " on line " +
                std::to_string(document.ErrorLineNum());
        return false;
    }
    const XMLElement* plist = document.RootElement();
    if (plist == nullptr || std::strcmp(plist->Name(), "plist") != 0) {
        error = "it is no property list: its root element is " + (plist ? At(*plist) : std::string("missing")) +
                ", not <plist>";
        return false;
    }
    const XMLElement* value = plist->FirstChildElement();
    if (value == nullptr || value->NextSiblingElement() != nullptr) {
        error = "it is no property list: <plist> must hold exactly one value";
        return false;
    }
    return Value(*value, root, error);
}

}  // namespace Keyweave::Tool::Import
