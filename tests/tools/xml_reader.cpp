#include "xml_reader.h"

#include <tinyxml2.h>

namespace Keyweave::Testing {
namespace {

std::unique_ptr<XmlElement> Copy(const tinyxml2::XMLElement& source) {
    auto element = std::make_unique<XmlElement>();
    element->name = source.Name();
    for (const tinyxml2::XMLAttribute* attribute = source.FirstAttribute(); attribute; attribute = attribute->Next()) {
        element->attributes.emplace(attribute->Name(), attribute->Value());
    }
    for (const tinyxml2::XMLNode* node = source.FirstChild(); node; node = node->NextSibling()) {
        if (const tinyxml2::XMLText* text = node->ToText()) element->text += text->Value();
        if (const tinyxml2::XMLElement* child = node->ToElement()) element->children.push_back(Copy(*child));
    }
    return element;
}

void Collect(const XmlElement& element, std::string_view name, std::vector<const XmlElement*>& found) {
    for (const auto& child : element.children) {
        if (child->name == name) found.push_back(child.get());
        Collect(*child, name, found);
    }
}

}  // namespace

std::vector<const XmlElement*> XmlElement::Descendants(std::string_view name) const {
    std::vector<const XmlElement*> found;
    Collect(*this, name, found);
    return found;
}

std::unique_ptr<XmlElement> ReadXml(std::string_view document, std::string& error) {
    tinyxml2::XMLDocument xml(true, tinyxml2::PRESERVE_WHITESPACE);
    if (xml.Parse(document.data(), document.size()) != tinyxml2::XML_SUCCESS) {
        error = xml.ErrorStr();
        return nullptr;
    }
    const tinyxml2::XMLElement* root = xml.RootElement();
    if (root == nullptr || root->NextSiblingElement() != nullptr) {
        error = "a picture has exactly one root element";
        return nullptr;
    }
    return Copy(*root);
}

}  // namespace Keyweave::Testing
