#pragma once
// Drawing on the guest screen in an SVG picture: positions come in as
// fractions of the screen (as the engine keeps them) and are placed on a
// screen of the given pixel size, below a title strip.

#include <string>
#include <string_view>
#include <vector>

#include "actions/action.h"
#include "common/screen_size.h"
#include "pictures/svg_writer.h"

namespace Keyweave::Tool {

class PictureCanvas {
public:
    PictureCanvas(SvgWriter& svg, ScreenSize screen) : svg_(svg), screen_(screen) {}

    SvgWriter& svg() { return svg_; }
    [[nodiscard]] double Width() const { return screen_.width; }
    [[nodiscard]] double Height() const { return screen_.height; }
    // The size of marks and letters, in pixels.
    [[nodiscard]] double Unit() const { return UnitFor(screen_); }
    [[nodiscard]] static double UnitFor(ScreenSize screen);

    [[nodiscard]] double X(float fraction) const { return fraction * static_cast<float>(screen_.width); }
    [[nodiscard]] double Y(float fraction) const { return fraction * static_cast<float>(screen_.height); }

    // The screen: a dark rectangle with a grid every 10 percent, labelled.
    void DrawScreen();

    // A text with a light halo, centred on (x, y) in pixels, or moved by
    // whole lines (whole widths in a crowd) to the nearest place where it
    // touches none of the labels drawn before it.
    void Label(double x, double y, std::string_view text, const char* colour, double scale = 1.0);
    void Circle(double x, double y, double r, const char* colour, bool filled, bool dashed = false);
    void Ellipse(double x, double y, double rx, double ry, const char* colour, bool dashed);
    void Line(double x1, double y1, double x2, double y2, const char* colour, bool arrow, bool dashed = false);
    void Polyline(const std::string& points, const char* colour, bool arrow);
    void Rectangle(double x, double y, double w, double h, const char* colour, bool dashed);
    // A cross-hair: a ring with four ticks.
    void CrossHair(double x, double y, const char* colour);
    // An X mark.
    void Cross(double x, double y, const char* colour);

    // The <defs> block with an arrow head marker for each colour below; once
    // per picture.
    static void WriteDefinitions(SvgWriter& svg, double unit);

private:
    struct Box {
        double left, top, right, bottom;
    };
    Box FreePlace(Box box) const;

    SvgWriter& svg_;
    ScreenSize screen_;
    std::vector<Box> labels_;  // where the labels drawn so far lie, halos included
};

// Colours of the action families.
namespace Colours {
inline constexpr const char* kTap = "#1e88e5";
inline constexpr const char* kSwipe = "#43a047";
inline constexpr const char* kPad = "#fb8c00";
inline constexpr const char* kMouse = "#8e24aa";
inline constexpr const char* kShoot = "#e53935";
inline constexpr const char* kMacro = "#00897b";
inline constexpr const char* kStick = "#6d4c41";
inline constexpr const char* kArea = "#9e9e9e";
inline constexpr const char* kText = "#212121";
}  // namespace Colours

}  // namespace Keyweave::Tool
