#include "xml_reader.h"

#include <cctype>
#include <utility>

namespace Keyweave::Testing {
namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::unique_ptr<XmlElement> Document(std::string& error) {
        SkipBlanks();
        if (Starts("<?xml")) {
            const size_t end = text_.find("?>", at_);
            if (end == std::string_view::npos) return Fail(error, "unterminated XML declaration");
            at_ = end + 2;
        }
        SkipMisc();
        auto root = Element(error);
        if (!root) return nullptr;
        SkipMisc();
        if (at_ != text_.size()) return Fail(error, "text after the root element");
        return root;
    }

private:
    std::unique_ptr<XmlElement> Fail(std::string& error, const std::string& why) {
        error = why + " at byte " + std::to_string(at_);
        return nullptr;
    }
    bool Starts(std::string_view prefix) const { return text_.substr(at_).starts_with(prefix); }
    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\t' ||
                                      text_[at_] == '\r')) {
            ++at_;
        }
    }
    bool SkipComment() {
        if (!Starts("<!--")) return false;
        const size_t end = text_.find("-->", at_ + 4);
        if (end == std::string_view::npos) return false;
        if (text_.substr(at_ + 4, end - at_ - 4).find("--") != std::string_view::npos) return false;
        at_ = end + 3;
        return true;
    }
    void SkipMisc() {
        for (;;) {
            SkipBlanks();
            if (!SkipComment()) return;
        }
    }
    std::string Name() {
        const size_t start = at_;
        while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '-' ||
                                      text_[at_] == '_' || text_[at_] == ':' || text_[at_] == '.')) {
            ++at_;
        }
        return std::string(text_.substr(start, at_ - start));
    }
    bool Decode(std::string_view raw, std::string& out) {
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '<') return false;
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            static const std::pair<std::string_view, char> kEntities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
            bool known = false;
            for (const auto& [entity, c] : kEntities) {
                if (raw.substr(i).starts_with(entity)) {
                    out += c;
                    i += entity.size() - 1;
                    known = true;
                    break;
                }
            }
            if (!known) return false;
        }
        return true;
    }
    std::unique_ptr<XmlElement> Element(std::string& error) {
        if (!Starts("<")) return Fail(error, "expected an element");
        ++at_;
        auto element = std::make_unique<XmlElement>();
        element->name = Name();
        if (element->name.empty()) return Fail(error, "element without a name");
        for (;;) {
            SkipBlanks();
            if (Starts("/>")) {
                at_ += 2;
                return element;
            }
            if (Starts(">")) {
                ++at_;
                break;
            }
            const std::string key = Name();
            if (key.empty() || !Starts("=")) return Fail(error, "bad attribute in <" + element->name + ">");
            ++at_;
            if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) {
                return Fail(error, "unquoted attribute " + key);
            }
            const char quote = text_[at_++];
            const size_t end = text_.find(quote, at_);
            if (end == std::string_view::npos) return Fail(error, "unterminated attribute " + key);
            std::string value;
            if (!Decode(text_.substr(at_, end - at_), value)) return Fail(error, "bad text in attribute " + key);
            if (!element->attributes.emplace(key, value).second) return Fail(error, "attribute twice: " + key);
            at_ = end + 1;
        }
        for (;;) {
            if (at_ >= text_.size()) return Fail(error, "unclosed <" + element->name + ">");
            if (Starts("</")) {
                at_ += 2;
                if (Name() != element->name || !Starts(">")) return Fail(error, "mismatched </...> for " + element->name);
                ++at_;
                return element;
            }
            if (Starts("<!--")) {
                if (!SkipComment()) return Fail(error, "bad comment");
                continue;
            }
            if (Starts("<")) {
                auto child = Element(error);
                if (!child) return nullptr;
                element->children.push_back(std::move(child));
                continue;
            }
            const size_t end = text_.find('<', at_);
            if (end == std::string_view::npos) return Fail(error, "unclosed <" + element->name + ">");
            if (!Decode(text_.substr(at_, end - at_), element->text)) return Fail(error, "bad text");
            at_ = end;
        }
    }

    std::string_view text_;
    size_t at_ = 0;
};

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
    return Reader(document).Document(error);
}

}  // namespace Keyweave::Testing
