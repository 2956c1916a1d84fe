#include "gamepad/direction_edges.h"

namespace Keyweave::GamePad {
namespace {

// One axis: `negative` is up or left, `positive` down or right.
void AxisEdges(int32_t value, int32_t previous, int32_t threshold, uint32_t negative, uint32_t positive,
               std::vector<Edge>& edges) {
    if (value >= -threshold && previous < -threshold) edges.push_back({negative, false});
    if (value > threshold && previous <= threshold) edges.push_back({positive, true});
    if (value <= threshold && previous > threshold) edges.push_back({positive, false});
    if (value < -threshold && previous >= -threshold) edges.push_back({negative, true});
}

}  // namespace

std::vector<Edge> DirectionEdges(int32_t x, int32_t y, int32_t previousX, int32_t previousY, int32_t threshold,
                                 const DirectionCodes& codes) {
    std::vector<Edge> edges;
    AxisEdges(y, previousY, threshold, codes.up, codes.down, edges);
    AxisEdges(x, previousX, threshold, codes.left, codes.right, edges);
    return edges;
}

}  // namespace Keyweave::GamePad
