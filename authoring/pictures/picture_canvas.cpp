#include "pictures/picture_canvas.h"

#include <algorithm>
#include <cstring>

#include "common/printf.h"
#include "common/screen_size.h"

namespace Keyweave::Tool {
namespace {

const char* StrokeDash(bool dashed) { return dashed ? "8 6" : "none"; }

// The id of the arrow head marker of a colour ("#1e88e5" gives "arrow-1e88e5").
std::string ArrowId(const char* colour) { return std::string("arrow-") + (colour[0] == '#' ? colour + 1 : colour); }

// How wide a bold sans-serif text is, in font sizes: as wide as the widest
// common font draws it (DejaVu Sans Bold), so that labels kept apart here
// stay apart in any browser.
double TextWidth(std::string_view text) {
    double width = 0.0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) == 0x80) continue;  // the rest of a UTF-8 character
        if (byte >= 0x80) {
            width += 1.0;
        } else if (std::strchr("MWmw%@", c) != nullptr) {
            width += 1.11;
        } else if (std::strchr(" .,:;'!|iIjl", c) != nullptr) {
            width += 0.41;
        } else if (std::strchr("frt()[]{}-/", c) != nullptr) {
            width += 0.53;
        } else if ((c >= 'A' && c <= 'Z') || std::strchr("+=<>&#~^", c) != nullptr) {
            width += 0.86;
        } else {
            width += 0.72;
        }
    }
    return width;
}

}  // namespace

double PictureCanvas::UnitFor(ScreenSize screen) { return std::max(6.0, std::min(screen.width, screen.height) / 54.0); }

void PictureCanvas::WriteDefinitions(SvgWriter& svg, double unit) {
    static constexpr const char* kArrowColours[] = {Colours::kTap,   Colours::kSwipe, Colours::kPad,
                                                    Colours::kMouse, Colours::kShoot, Colours::kMacro,
                                                    Colours::kStick, Colours::kArea,  Colours::kText};
    svg.Open("defs");
    for (const char* colour : kArrowColours) {
        svg.Open("marker", {{"id", ArrowId(colour)},
                            {"viewBox", "0 0 10 10"},
                            {"refX", "9"},
                            {"refY", "5"},
                            {"markerWidth", SvgNumber(unit * 0.9)},
                            {"markerHeight", SvgNumber(unit * 0.9)},
                            {"markerUnits", "userSpaceOnUse"},
                            {"orient", "auto"}});
        svg.Empty("path", {{"d", "M 0 0 L 10 5 L 0 10 z"}, {"fill", colour}});
        svg.Close();
    }
    svg.Close();
}

void PictureCanvas::DrawScreen() {
    svg_.Open("g", {{"class", "screen"}});
    svg_.Empty("rect", {{"x", "0"},
                        {"y", "0"},
                        {"width", SvgNumber(Width())},
                        {"height", SvgNumber(Height())},
                        {"fill", "#eceff1"},
                        {"stroke", "#455a64"},
                        {"stroke-width", SvgNumber(Unit() * 0.15)}});
    for (int percent = 10; percent < 100; percent += 10) {
        const double x = Width() * percent / 100.0;
        const double y = Height() * percent / 100.0;
        const char* colour = percent == 50 ? "#b0bec5" : "#cfd8dc";
        svg_.Empty("line", {{"x1", SvgNumber(x)},
                            {"y1", "0"},
                            {"x2", SvgNumber(x)},
                            {"y2", SvgNumber(Height())},
                            {"stroke", colour},
                            {"stroke-width", SvgNumber(Unit() * 0.08)}});
        svg_.Empty("line", {{"x1", "0"},
                            {"y1", SvgNumber(y)},
                            {"x2", SvgNumber(Width())},
                            {"y2", SvgNumber(y)},
                            {"stroke", colour},
                            {"stroke-width", SvgNumber(Unit() * 0.08)}});
        const std::string number = Printf("%d", percent);
        svg_.Text("text",
                  {{"x", SvgNumber(x)},
                   {"y", SvgNumber(Unit() * 0.9)},
                   {"font-size", SvgNumber(Unit() * 0.6)},
                   {"font-family", "sans-serif"},
                   {"fill", "#90a4ae"},
                   {"text-anchor", "middle"}},
                  number);
        svg_.Text("text",
                  {{"x", SvgNumber(Unit() * 0.3)},
                   {"y", SvgNumber(y + Unit() * 0.2)},
                   {"font-size", SvgNumber(Unit() * 0.6)},
                   {"font-family", "sans-serif"},
                   {"fill", "#90a4ae"}},
                  number);
    }
    svg_.Close();
}

// The nearest place to `box` where it touches no label drawn before: `box`
// itself, or a line, two lines... below or above it, on the screen; when
// none of those is free (a crowd stacked the height of the screen), the same
// a label's width to the right or left, then two widths... `box` itself when
// the screen is full.
PictureCanvas::Box PictureCanvas::FreePlace(Box box) const {
    constexpr int kMostColumns = 4;
    const double line = box.bottom - box.top, width = box.right - box.left;
    const int mostLines = static_cast<int>(Height() / line);
    const auto free = [&](const Box& place) {
        if (place.top != box.top && (place.top < 0.0 || place.bottom > Height())) return false;
        if (place.left != box.left && (place.left < 0.0 || place.right > Width())) return false;
        return std::none_of(labels_.begin(), labels_.end(), [&](const Box& label) {
            return place.left < label.right && label.left < place.right && place.top < label.bottom &&
                   label.top < place.bottom;
        });
    };
    for (int columns = 0; columns <= kMostColumns; ++columns) {
        for (const int across : {1, -1}) {
            const double dx = across * columns * width;
            for (int lines = 0; lines <= mostLines; ++lines) {
                for (const int side : {1, -1}) {
                    const double dy = side * lines * line;
                    const Box place{box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
                    if (free(place)) return place;
                }
            }
        }
    }
    return box;
}

void PictureCanvas::Label(double x, double y, std::string_view text, const char* colour, double scale) {
    // The text's box with its halo: a font's line is about 1.17 sizes high,
    // centred on y as the text is placed below.
    const double size = Unit() * scale, halo = size * 0.15;
    const double halfWidth = TextWidth(text) * size / 2 + halo, halfHeight = size * 0.6 + halo;
    const Box wanted{x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};
    const Box box = FreePlace(wanted);
    labels_.push_back(box);
    x += box.left - wanted.left;
    y += box.top - wanted.top;
    svg_.Text("text",
              {{"x", SvgNumber(x)},
               {"y", SvgNumber(y + Unit() * 0.35 * scale)},
               {"font-size", SvgNumber(Unit() * scale)},
               {"font-family", "sans-serif"},
               {"font-weight", "bold"},
               {"text-anchor", "middle"},
               {"fill", colour},
               {"stroke", "#ffffff"},
               {"stroke-width", SvgNumber(Unit() * 0.25 * scale)},
               {"paint-order", "stroke"}},
              text);
}

void PictureCanvas::Circle(double x, double y, double r, const char* colour, bool filled, bool dashed) {
    svg_.Empty("circle", {{"cx", SvgNumber(x)},
                          {"cy", SvgNumber(y)},
                          {"r", SvgNumber(r)},
                          {"fill", filled ? colour : "none"},
                          {"fill-opacity", filled ? "0.25" : "1"},
                          {"stroke", colour},
                          {"stroke-width", SvgNumber(Unit() * 0.15)},
                          {"stroke-dasharray", StrokeDash(dashed)}});
}

void PictureCanvas::Ellipse(double x, double y, double rx, double ry, const char* colour, bool dashed) {
    svg_.Empty("ellipse", {{"cx", SvgNumber(x)},
                           {"cy", SvgNumber(y)},
                           {"rx", SvgNumber(rx)},
                           {"ry", SvgNumber(ry)},
                           {"fill", "none"},
                           {"stroke", colour},
                           {"stroke-width", SvgNumber(Unit() * 0.12)},
                           {"stroke-dasharray", StrokeDash(dashed)}});
}

void PictureCanvas::Line(double x1, double y1, double x2, double y2, const char* colour, bool arrow, bool dashed) {
    SvgAttributes attributes = {{"x1", SvgNumber(x1)},
                                {"y1", SvgNumber(y1)},
                                {"x2", SvgNumber(x2)},
                                {"y2", SvgNumber(y2)},
                                {"stroke", colour},
                                {"stroke-width", SvgNumber(Unit() * 0.2)},
                                {"stroke-dasharray", StrokeDash(dashed)}};
    if (arrow) attributes.emplace_back("marker-end", "url(#" + ArrowId(colour) + ")");
    svg_.Empty("line", attributes);
}

void PictureCanvas::Polyline(const std::string& points, const char* colour, bool arrow) {
    SvgAttributes attributes = {{"points", points},
                                {"fill", "none"},
                                {"stroke", colour},
                                {"stroke-width", SvgNumber(Unit() * 0.2)},
                                {"stroke-linejoin", "round"}};
    if (arrow) attributes.emplace_back("marker-end", "url(#" + ArrowId(colour) + ")");
    svg_.Empty("polyline", attributes);
}

void PictureCanvas::Rectangle(double x, double y, double w, double h, const char* colour, bool dashed) {
    svg_.Empty("rect", {{"x", SvgNumber(x)},
                        {"y", SvgNumber(y)},
                        {"width", SvgNumber(w)},
                        {"height", SvgNumber(h)},
                        {"fill", colour},
                        {"fill-opacity", "0.12"},
                        {"stroke", colour},
                        {"stroke-width", SvgNumber(Unit() * 0.15)},
                        {"stroke-dasharray", StrokeDash(dashed)}});
}

void PictureCanvas::CrossHair(double x, double y, const char* colour) {
    const double r = Unit() * 1.2;
    Circle(x, y, r, colour, false);
    Line(x - r * 1.5, y, x - r * 0.5, y, colour, false);
    Line(x + r * 0.5, y, x + r * 1.5, y, colour, false);
    Line(x, y - r * 1.5, x, y - r * 0.5, colour, false);
    Line(x, y + r * 0.5, x, y + r * 1.5, colour, false);
}

void PictureCanvas::Cross(double x, double y, const char* colour) {
    const double r = Unit() * 0.6;
    Line(x - r, y - r, x + r, y + r, colour, false);
    Line(x - r, y + r, x + r, y - r, colour, false);
}

}  // namespace Keyweave::Tool
