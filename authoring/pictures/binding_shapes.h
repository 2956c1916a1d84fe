#pragma once
// How one binding of a keymap looks in the picture of `keyweave render`:
// a shape on the screen where the action touches, or a line of the legend
// for actions that touch no fixed place (keys sent, tilts).

#include <string>

#include "actions/action.h"
#include "pictures/picture_canvas.h"

namespace Keyweave::Tool {

struct ShapeContext {
    // The vertical stretch of tap-swipe circles: the custom screen centre's
    // radius value when the keymap sets one, else width / height.
    float tapSwipeStretch;
    // How many bindings before this one in the keymap start at the same
    // place: its label moves down by that many lines so that none hides
    // another.
    int crowd = 0;
};

// Where a binding's shape starts (its anchor, for telling crowded places
// apart); false for actions without one place.
[[nodiscard]] bool AnchorOf(const Action& action, Point& anchor);

// The record's class without "Action" ("Tap", "SwipeHold", "StickHold").
[[nodiscard]] const char* ActionKind(const Action& action);

// Draws the binding's shape, labelled `keys`. False (nothing drawn) when the
// action has no place on the screen; then LegendText describes it.
bool DrawBindingShape(PictureCanvas& canvas, const Action& action, const std::string& keys,
                      const ShapeContext& context);

// What an action without a place does, in a few words ("key Enter",
// "tilt to pitch 20, roll 0 degrees, level again on release").
[[nodiscard]] std::string LegendText(const Action& action);

// The end of a keymap swipe: 20 percent of the screen in its direction,
// stopping at the edge.
[[nodiscard]] Point SwipeEnd(Point start, uint32_t direction);

// Where a direction-pad key sends the pad finger: radius to the side, 1.6
// radius up or down.
[[nodiscard]] Point PadTarget(Point centre, uint32_t mask, float radius);

}  // namespace Keyweave::Tool
