// The shared pointer and stick state, and the two functions that turn it into
// touch positions: StickPoint for the game-pad joysticks, MousePoint for the
// mouse-driven swipes.
#include <cmath>

#include "actions/touch_actions.h"
#include "dispatch/dispatcher.h"

namespace Keyweave {

namespace {

// A mouse offset of this many hundredths of a percent from the screen centre
// reaches the full radius.
constexpr float kMouseReach = 4500.0f;

// Moves `p` onto the circle of `radius` around `centre`, along the same
// direction. A point at the centre has no direction and stays.
Point OntoCircle(Point p, Point centre, float radius, float distance) {
    if (distance <= 0.0f) return p;
    const float scale = radius / distance;
    return {centre.x + (p.x - centre.x) * scale, centre.y + (p.y - centre.y) * scale};
}

}  // namespace

void Dispatcher::SetMousePosition(float x, float y) { pointer_.SetMouse({x, y}); }

Point Dispatcher::MousePosition() const { return pointer_.Mouse(); }

void Dispatcher::SetStickPosition(uint32_t stick, float x, float y) { pointer_.SetStick(stick, {x, y}); }

Point Dispatcher::StickPosition(uint32_t stick) const {
    Point deflection;
    pointer_.Stick(stick, deflection);
    return deflection;
}

void Dispatcher::SetScreenCentre(const ScreenAction* centre) {
    if (centre == nullptr) return;
    pointer_.SetScreenCentre({centre->point, centre->radius});
}

ScreenCentreReference Dispatcher::ScreenCentre() const { return pointer_.ScreenCentre(); }

Point Dispatcher::StickPoint(uint32_t stick, Point centre, Point& current, float radius, float sensitivity,
                             bool keep) const {
    Point offset{radius, radius};
    Point deflection;
    if (pointer_.Stick(stick, deflection)) offset = {deflection.x * sensitivity, deflection.y * sensitivity};

    Point moved{current.x + offset.x, current.y + offset.y};
    const float distance = std::hypot(moved.x - centre.x, moved.y - centre.y);
    if (distance > radius) moved = OntoCircle(moved, centre, radius, distance);
    current = moved;

    // Stretch the vertical offset so the circle looks round on a wide screen.
    const Point result{moved.x / kStickUnits, ((moved.y - centre.y) * aspectRatio() + centre.y) / kStickUnits};
    if (!keep) current = centre;
    return result;
}

Dispatcher::MousePlacement Dispatcher::MousePoint(Point centre, float radius, float aspect, bool force) const {
    const float r = radius * 100.0f;
    const Point mouse = pointer_.Mouse();
    const Point reference = pointer_.ScreenCentre().point;
    const Point c{centre.x * kStickUnits, centre.y * kStickUnits};
    const float scale = kStickUnits * (r / kMouseReach);

    Point p{(mouse.x - reference.x) * scale + c.x, (mouse.y - reference.y) * scale + c.y};
    const float distance = std::hypot(p.x - c.x, p.y - c.y);
    if (r <= distance || force) p = OntoCircle(p, c, r, distance);

    if (aspect == 0.0f) aspect = aspectRatio();
    return {{p.x / kStickUnits, ((p.y - c.y) * aspect + c.y) / kStickUnits}, distance};
}

}  // namespace Keyweave
