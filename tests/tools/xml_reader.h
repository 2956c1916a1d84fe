#pragma once
// The SVG pictures read back as a tree of elements, by tinyxml2: a picture
// that is not well-formed XML (a tag that does not match, a bad entity, an
// attribute twice) does not read back.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Keyweave::Testing {

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;  // the element's own text, entities decoded
    std::vector<std::unique_ptr<XmlElement>> children;

    std::string Attribute(const std::string& key) const {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    // Every element below this one (not itself) with the tag `name`, in
    // document order.
    std::vector<const XmlElement*> Descendants(std::string_view name) const;
};

// The root element, or null with `error` set.
std::unique_ptr<XmlElement> ReadXml(std::string_view document, std::string& error);

}  // namespace Keyweave::Testing
