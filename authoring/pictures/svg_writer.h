#pragma once
// A small writer of SVG documents: nested elements with attributes and text,
// escaped, indented, numbers without locale. The pictures of `render` and
// `play --svg` are built with it.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Keyweave::Tool {

// Attribute names are the literals of the drawing code; values are made.
using SvgAttributes = std::vector<std::pair<std::string_view, std::string>>;

// A coordinate or length: at most two decimals, no trailing zeros ("12.5").
[[nodiscard]] std::string SvgNumber(double value);

// Text with &, <, >, " and ' escaped for XML.
[[nodiscard]] std::string XmlEscape(std::string_view text);

class SvgWriter {
public:
    // Opens the <svg> root with a view box of width x height user units.
    SvgWriter(double width, double height);

    // <tag attributes...> ... </tag>, closed by Close().
    void Open(std::string_view tag, const SvgAttributes& attributes = {});
    void Close();
    // <tag attributes.../>
    void Empty(std::string_view tag, const SvgAttributes& attributes);
    // <tag attributes...>text</tag>
    void Text(std::string_view tag, const SvgAttributes& attributes, std::string_view text);
    void Comment(std::string_view text);

    // Closes every open element and the root; the document.
    [[nodiscard]] std::string Finish();

private:
    void Indent();
    void WriteStart(std::string_view tag, const SvgAttributes& attributes);

    std::string document_;
    std::vector<std::string> open_;
};

}  // namespace Keyweave::Tool
