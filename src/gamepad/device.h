#pragma once
// One attached game pad: the ids and database path the host gave at attach,
// what the game-pad database said about its hardware (layout name, where the
// hat comes from, the axis and button transforms), and its normalised state
// before and after the latest report.
//
// The database reader fills the transforms while the device is still private
// to the attaching thread; afterwards only the updates of its own pad write it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "base/text.h"

namespace Keyweave::GamePad {

// A pad's state after the transforms, in control codes and stick units.
struct PadState {
    int32_t buttons = 0;  // bit set of button control codes (0x1 ... 0x800)
    int32_t hatX = 0;     // -1 left, 0, +1 right
    int32_t hatY = 0;     // -1 up, 0, +1 down
    int32_t leftX = 0;    // -1000 ... 1000
    int32_t leftY = 0;    // -1000 ... 1000, negative is up
    int32_t rightX = 0;
    int32_t rightY = 0;

    friend bool operator==(const PadState&, const PadState&) = default;
};

// Raw axis codes, the sources of axis transforms. There is no 8.
enum RawAxis : uint32_t {
    kAxisX = 0x1,
    kAxisY = 0x2,
    kAxisZ = 0x4,
    kAxisRx = 0x10,
    kAxisRy = 0x20,
    kAxisRz = 0x40,
};

// Index into Device::hatButtonMasks.
enum HatDirection : size_t { kHatMaskUp = 0, kHatMaskDown, kHatMaskLeft, kHatMaskRight, kHatDirectionCount };

struct Device {
    Device(int32_t padId, uint32_t padVendor, uint32_t padProduct, WideString path)
        : id(padId), vendor(padVendor), product(padProduct), databasePath(std::move(path)) {}

    int32_t id;
    uint32_t vendor;
    uint32_t product;
    WideString databasePath;

    std::string layoutName;  // empty when the database names none

    PadState current;
    PadState previous;

    // Where the hat comes from; at run time the first set of these wins, in
    // this order.
    bool hatFromReportHat = false;
    bool hatFromPrimaryAxes = false;
    bool hatFromButtons = false;
    // The raw button bit meaning up, down, left, right; 0 is none.
    std::array<uint32_t, kHatDirectionCount> hatButtonMasks = {};

    std::map<uint32_t, uint32_t> axisTransforms;    // raw axis code -> target control code
    std::map<uint32_t, uint32_t> buttonTransforms;  // raw button bit -> target control code
};

}  // namespace Keyweave::GamePad
