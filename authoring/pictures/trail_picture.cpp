#include "pictures/trail_picture.h"

#include <array>
#include <map>

#include "common/printf.h"
#include "common/screen_size.h"
#include "pictures/picture_canvas.h"
#include "pictures/svg_writer.h"

namespace Keyweave::Tool {
namespace {

// One colour per touch slot, far enough apart to tell neighbours apart.
constexpr std::array<const char*, 16> kSlotColours = {"#1e88e5", "#e53935", "#43a047", "#fb8c00", "#8e24aa", "#00897b",
                                                      "#6d4c41", "#d81b60", "#3949ab", "#7cb342", "#f4511e", "#00acc1",
                                                      "#5e35b1", "#c0ca33", "#546e7a", "#ffb300"};

}  // namespace

std::vector<Trail> CollectTrails(const std::vector<TimelineEvent>& events) {
    std::vector<Trail> trails;
    std::map<int32_t, size_t> open;  // slot -> index of its trail while the finger is down
    for (const TimelineEvent& event : events) {
        if (event.kind != TimelineEvent::Kind::kTouch) continue;
        const TrailPoint point{event.time, event.x, event.y};
        const auto found = open.find(event.slot);
        if (event.down && found == open.end()) {
            open[event.slot] = trails.size();
            trails.push_back({event.slot, {point}, false});
        } else if (found != open.end()) {
            Trail& trail = trails[found->second];
            trail.points.push_back(point);
            if (!event.down) {
                trail.lifted = true;
                open.erase(found);
            }
        }
    }
    return trails;
}

namespace {

// Where a finger went down: a filled circle; where it lifted: a square.
void DownMark(PictureCanvas& canvas, double x, double y, const char* colour) {
    canvas.Circle(x, y, canvas.Unit() * 0.6, colour, true);
}

void LiftMark(SvgWriter& svg, double unit, double x, double y, const char* colour) {
    svg.Empty("rect", {{"x", SvgNumber(x - unit * 0.4)},
                       {"y", SvgNumber(y - unit * 0.4)},
                       {"width", SvgNumber(unit * 0.8)},
                       {"height", SvgNumber(unit * 0.8)},
                       {"fill", colour}});
}

// The legend under the screen: what the two marks mean.
void DrawLegend(PictureCanvas& canvas, double y) {
    SvgWriter& svg = canvas.svg();
    const double unit = canvas.Unit();
    const auto text = [&](double x, const std::string& words) {
        svg.Text("text",
                 {{"x", SvgNumber(x)},
                  {"y", SvgNumber(y + unit * 0.35)},
                  {"font-size", SvgNumber(unit)},
                  {"font-family", "sans-serif"},
                  {"fill", Colours::kText}},
                 words);
    };
    svg.Open("g", {{"class", "legend"}});
    DownMark(canvas, unit * 1.2, y, Colours::kText);
    text(unit * 2.2, "a finger goes down");
    LiftMark(svg, unit, unit * 14.0, y, Colours::kText);
    text(unit * 15.0, "it lifts");
    text(unit * 21.0, "(one colour per touch slot; hover a trail for its slot and times)");
    svg.Close();
}

}  // namespace

std::string DrawTrails(const std::vector<Trail>& trails, ScreenSize screen, const std::string& title) {
    const double unit = PictureCanvas::UnitFor(screen);
    const double header = unit * 2.4;
    const double footer = unit * 2.4;
    const double height = header + screen.height + footer;
    SvgWriter svg(screen.width, height);
    PictureCanvas::WriteDefinitions(svg, unit);
    svg.Empty("rect", {{"x", "0"},
                       {"y", "0"},
                       {"width", SvgNumber(screen.width)},
                       {"height", SvgNumber(height)},
                       {"fill", "#ffffff"}});
    svg.Text("text",
             {{"x", SvgNumber(unit * 0.5)},
              {"y", SvgNumber(header * 0.65)},
              {"font-size", SvgNumber(unit)},
              {"font-family", "sans-serif"},
              {"fill", Colours::kText}},
             title + Printf("  (%dx%d)", screen.width, screen.height));
    svg.Open("g", {{"class", "guest-screen"}, {"transform", "translate(0," + SvgNumber(header) + ")"}});
    PictureCanvas canvas(svg, screen);
    canvas.DrawScreen();
    for (const Trail& trail : trails) {
        const char* colour = kSlotColours[static_cast<size_t>(trail.slot) % kSlotColours.size()];
        const TrailPoint& first = trail.points.front();
        const TrailPoint& last = trail.points.back();
        svg.Open("g", {{"class", "trail"},
                       {"data-slot", Printf("%d", trail.slot)},
                       {"data-from", Printf("%lld", static_cast<long long>(first.time))},
                       {"data-to", trail.lifted ? Printf("%lld", static_cast<long long>(last.time)) : "held"}});
        const std::string span =
            trail.lifted ? Printf("slot %d, %lld-%lld ms", trail.slot, static_cast<long long>(first.time),
                                  static_cast<long long>(last.time))
                         : Printf("slot %d, from %lld ms, still down", trail.slot, static_cast<long long>(first.time));
        svg.Text("title", {}, span);
        std::string points;
        for (const TrailPoint& point : trail.points) {
            if (!points.empty()) points += " ";
            points += SvgNumber(canvas.X(point.x)) + "," + SvgNumber(canvas.Y(point.y));
        }
        if (trail.points.size() > 1) {
            svg.Empty("polyline", {{"points", points},
                                   {"fill", "none"},
                                   {"stroke", colour},
                                   {"stroke-width", SvgNumber(unit * 0.25)},
                                   {"stroke-linejoin", "round"},
                                   {"stroke-opacity", "0.8"}});
        }
        DownMark(canvas, canvas.X(first.x), canvas.Y(first.y), colour);
        if (trail.lifted) LiftMark(svg, unit, canvas.X(last.x), canvas.Y(last.y), colour);
        canvas.Label(canvas.X(first.x), canvas.Y(first.y) - unit * 1.4, span, colour, 0.6);
        svg.Close();
    }
    DrawLegend(canvas, screen.height + footer * 0.5);
    svg.Close();
    return svg.Finish();
}

}  // namespace Keyweave::Tool
