#include "pictures/svg_writer.h"
#include "common/printf.h"

#include <cmath>

namespace Keyweave::Tool {

std::string SvgNumber(double value) {
    if (!std::isfinite(value)) value = 0.0;
    std::string text = Printf("%.2f", value);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

std::string XmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&apos;"; break;
            default:
                // Control characters are not allowed in XML 1.0 text.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') {
                    escaped += '?';
                } else {
                    escaped += c;
                }
        }
    }
    return escaped;
}

SvgWriter::SvgWriter(double width, double height) {
    document_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Open("svg", {{"xmlns", "http://www.w3.org/2000/svg"},
                 {"width", SvgNumber(width)},
                 {"height", SvgNumber(height)},
                 {"viewBox", "0 0 " + SvgNumber(width) + " " + SvgNumber(height)}});
}

void SvgWriter::Indent() { document_.append(open_.size() * 2, ' '); }

void SvgWriter::WriteStart(std::string_view tag, const SvgAttributes& attributes) {
    Indent();
    document_ += "<";
    document_ += tag;
    for (const auto& [name, value] : attributes) {
        document_ += " " + name + "=\"" + XmlEscape(value) + "\"";
    }
}

void SvgWriter::Open(std::string_view tag, const SvgAttributes& attributes) {
    WriteStart(tag, attributes);
    document_ += ">\n";
    open_.emplace_back(tag);
}

void SvgWriter::Close() {
    if (open_.empty()) return;
    const std::string tag = open_.back();
    open_.pop_back();
    Indent();
    document_ += "</" + tag + ">\n";
}

void SvgWriter::Empty(std::string_view tag, const SvgAttributes& attributes) {
    WriteStart(tag, attributes);
    document_ += "/>\n";
}

void SvgWriter::Text(std::string_view tag, const SvgAttributes& attributes, std::string_view text) {
    WriteStart(tag, attributes);
    document_ += ">" + XmlEscape(text) + "</";
    document_ += tag;
    document_ += ">\n";
}

void SvgWriter::Comment(std::string_view text) {
    std::string safe(text);
    for (size_t at; (at = safe.find("--")) != std::string::npos;) safe.replace(at, 2, "- -");
    Indent();
    document_ += "<!-- " + safe + " -->\n";
}

std::string SvgWriter::Finish() {
    while (!open_.empty()) Close();
    return document_;
}

}  // namespace Keyweave::Tool
