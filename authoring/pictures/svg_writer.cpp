#include "pictures/svg_writer.h"

#include <cmath>
#include <cstdint>

#include "common/printf.h"

namespace Keyweave::Tool {

// Rounded as "%.2f" rounds (the exact binary value to the nearest hundredth,
// ties to even), in integers: a picture writes thousands of numbers.
std::string SvgNumber(double value) {
    if (!std::isfinite(value)) value = 0.0;
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // in [0.5, 1), or 0
    const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;  // |value| = mantissa / 2^shift
    if (shift <= 0) {                 // past 2^53: whole, and far off any picture
        std::string text = Printf("%.0f", value);
        return text == "-0" ? "0" : text;
    }
    const uint64_t scaled = mantissa * 100;  // below 2^60
    uint64_t hundredths = 0;
    if (shift < 64) {
        hundredths = scaled >> shift;
        const uint64_t rest = scaled - (hundredths << shift), half = uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (hundredths & 1) != 0)) ++hundredths;
    }
    if (hundredths == 0) return "0";
    std::string text = value < 0 ? "-" : "";
    text += std::to_string(hundredths / 100);
    const auto cents = static_cast<unsigned>(hundredths % 100);
    if (cents != 0) {
        text += '.';
        text += static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) text += static_cast<char>('0' + cents % 10);
    }
    return text;
}

namespace {

// Appends `text` to `out` with &, <, >, " and ' escaped for XML.
void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // Control characters are not allowed in XML 1.0 text.
                out += static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' ? '?' : c;
        }
    }
}

}  // namespace

std::string XmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    AppendEscaped(escaped, text);
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
        document_ += ' ';
        document_ += name;
        document_ += "=\"";
        AppendEscaped(document_, value);
        document_ += '"';
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
    document_ += '>';
    AppendEscaped(document_, text);
    document_ += "</";
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
