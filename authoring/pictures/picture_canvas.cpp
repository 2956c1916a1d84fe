#include "pictures/picture_canvas.h"
#include "common/printf.h"
#include "common/screen_size.h"

#include <algorithm>

namespace Keyweave::Tool {
namespace {

const char* StrokeDash(bool dashed) { return dashed ? "8 6" : "none"; }

// The id of the arrow head marker of a colour ("#1e88e5" gives "arrow-1e88e5").
std::string ArrowId(const char* colour) { return std::string("arrow-") + (colour[0] == '#' ? colour + 1 : colour); }

}  // namespace

double PictureCanvas::UnitFor(ScreenSize screen) {
    return std::max(6.0, std::min(screen.width, screen.height) / 54.0);
}

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
    svg_.Empty("rect", {{"x", "0"}, {"y", "0"}, {"width", SvgNumber(Width())}, {"height", SvgNumber(Height())},
                        {"fill", "#eceff1"}, {"stroke", "#455a64"}, {"stroke-width", SvgNumber(Unit() * 0.15)}});
    for (int percent = 10; percent < 100; percent += 10) {
        const double x = Width() * percent / 100.0;
        const double y = Height() * percent / 100.0;
        const char* colour = percent == 50 ? "#b0bec5" : "#cfd8dc";
        svg_.Empty("line", {{"x1", SvgNumber(x)}, {"y1", "0"}, {"x2", SvgNumber(x)}, {"y2", SvgNumber(Height())},
                            {"stroke", colour}, {"stroke-width", SvgNumber(Unit() * 0.08)}});
        svg_.Empty("line", {{"x1", "0"}, {"y1", SvgNumber(y)}, {"x2", SvgNumber(Width())}, {"y2", SvgNumber(y)},
                            {"stroke", colour}, {"stroke-width", SvgNumber(Unit() * 0.08)}});
        const std::string number = Printf("%d", percent);
        svg_.Text("text", {{"x", SvgNumber(x)}, {"y", SvgNumber(Unit() * 0.9)}, {"font-size", SvgNumber(Unit() * 0.6)},
                           {"font-family", "sans-serif"}, {"fill", "#90a4ae"}, {"text-anchor", "middle"}},
                  number);
        svg_.Text("text", {{"x", SvgNumber(Unit() * 0.3)}, {"y", SvgNumber(y + Unit() * 0.2)},
                           {"font-size", SvgNumber(Unit() * 0.6)}, {"font-family", "sans-serif"}, {"fill", "#90a4ae"}},
                  number);
    }
    svg_.Close();
}

void PictureCanvas::Label(double x, double y, std::string_view text, const char* colour, double scale) {
    svg_.Text("text", {{"x", SvgNumber(x)},
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
    SvgAttributes attributes = {{"x1", SvgNumber(x1)}, {"y1", SvgNumber(y1)}, {"x2", SvgNumber(x2)},
                                {"y2", SvgNumber(y2)}, {"stroke", colour},    {"stroke-width", SvgNumber(Unit() * 0.2)},
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
