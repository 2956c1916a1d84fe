// Fuzz target: one game-pad database, read the way a pad's attach reads it,
// and the mapping it yields applied to reports at the edges of their range.
#include <climits>

#include "fuzz_targets.h"
#include "gamepad/database_reader.h"
#include "gamepad/runtime.h"
#include "gamepad/transforms.h"
#include "input_file.h"

namespace Keyweave::Fuzz {

namespace {

constexpr GamePad::Report kEdgeReports[] = {
    {0, 0, 0, 0, 0, 0, -1, 0},
    {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
    {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
    {-1000, 1000, 501, -501, 999, -999, 315, -1},
    {600, -600, -600, 600, 0, 0, 90, 0x5555},
};

std::string CheckMapping(GamePad::Device& device) {
    std::string problems;
    for (const GamePad::Report& report : kEdgeReports) {
        GamePad::ApplyTransforms(device, report);
        const GamePad::PadState& state = device.current;
        if (state.hatX < -1 || state.hatX > 1 || state.hatY < -1 || state.hatY > 1) {
            problems += "a report gave a hat direction outside -1..1\n";
        }
    }
    return problems;
}

}  // namespace

std::string RunDatabaseInput(const uint8_t* data, size_t size) {
    const WideString path = WriteInputFile("gamepads.db", data, size);
    size_t characters = 0;
    Log log;
    log.SetSink(&DiscardLine, &characters, true);
    std::string problems;
    // A pad the shipped database knows, then the generic entry that an
    // unknown pad falls back to.
    GamePad::Device known(1, 0x045e, 0x028e, path);
    if (GamePad::Prepare(known, log)) problems += CheckMapping(known);
    GamePad::Device generic(2, GamePad::kGenericVendor, GamePad::kGenericProduct, path);
    if (GamePad::Prepare(generic, log)) problems += CheckMapping(generic);
    return problems;
}

}  // namespace Keyweave::Fuzz
