// keyweave pad: which entry of a game-pad database a pad gets, and what the
// entry makes of the pad's raw axes, hat and buttons.

#include <array>
#include <bit>
#include <optional>
#include <string_view>

#include "base/log.h"
#include "base/text.h"
#include "codes/control_names.h"
#include "common/printf.h"
#include "dispatch.h"
#include "gamepad/database_reader.h"

namespace Keyweave::Tool {
namespace {

constexpr std::array<OptionSpec, 0> kPadOptions = {};

constexpr const char* kPadHelp =
    "Usage: keyweave pad DATABASE VID:PID\n"
    "\n"
    "Reads the game-pad database with the engine's own reader for a pad with the\n"
    "given USB vendor and product ids (hexadecimal, like 045e:028e) and shows the\n"
    "reader's messages, which hardware entry matched, and what the entry makes\n"
    "of the pad: the layout name the host receives, where the hat comes from,\n"
    "and the axis and button transforms. A pad without an entry of its own gets\n"
    "the generic entry 8380:0003, as the engine does when the pad attaches.\n"
    "\n"
    "Exit status: 0 the pad has an entry of its own; 1 it falls back to the\n"
    "generic entry, or would not attach at all; 2 the database could not be\n"
    "read or the arguments are wrong.\n";

constexpr uint32_t kGenericVendor = 0x8380;
constexpr uint32_t kGenericProduct = 0x0003;

struct RawAxisName {
    uint32_t code;
    const char* name;
};
constexpr std::array<RawAxisName, 6> kRawAxes = {
    {{0x1, "A_X"}, {0x2, "A_Y"}, {0x4, "A_Z"}, {0x10, "AR_X"}, {0x20, "AR_Y"}, {0x40, "AR_Z"}}};

std::optional<uint32_t> ReadHex(std::string_view text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    uint32_t value = 0;
    for (const char c : text) {
        uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return value;
}

std::string RawAxisOf(uint32_t code) {
    for (const RawAxisName& axis : kRawAxes) {
        if (axis.code == code) return axis.name;
    }
    return Printf("axis %08x", code);
}

std::string TargetOf(uint32_t code) {
    for (const GamePad::ControlName& control : GamePad::ControlNameTable()) {
        if (control.code == code && control.databaseTarget != nullptr) return control.databaseTarget;
    }
    return Printf("%08x", code);
}

std::string RawButtonOf(uint32_t bit) { return Printf("B_%d", std::countr_zero(bit) + 1); }

bool AxisTargetActs(uint32_t target) {
    switch (target) {
        case GamePad::kLeftStickX:
        case GamePad::kLeftStickY:
        case GamePad::kRightStickX:
        case GamePad::kRightStickY:
        case GamePad::kLeftTrigger:
        case GamePad::kRightTrigger:
        case GamePad::kBothTriggers:
            return true;
        default:
            return false;
    }
}

struct Attempt {
    std::optional<GamePad::Device> device;  // set when the entry was read
    std::string hardware;                   // the name of the matching hardware rule
    bool databaseUnreadable = false;
};

// The reader's lines go to the console as they come.
void PrintLine(void* console, const char* line) { static_cast<Console*>(console)->Line(line); }

Attempt PreparePad(const std::string& database, uint32_t vendor, uint32_t product, Console& console) {
    Attempt attempt;
    Log log;
    log.SetSink(&PrintLine, &console, true);
    GamePad::Device device(1, vendor, product, ToWide(database));
    GamePad::PrepareReport report;
    if (GamePad::Prepare(device, log, &report)) attempt.device.emplace(std::move(device));
    attempt.hardware = report.hardware;
    attempt.databaseUnreadable = report.unreadable;
    return attempt;
}

void DescribeHat(const GamePad::Device& device, Console& console) {
    std::vector<std::string> sources;
    if (device.hatFromReportHat) sources.emplace_back("the report's hat angle (H = H)");
    if (device.hatFromPrimaryAxes) sources.emplace_back("the primary axes X and Y (A = H)");
    if (device.hatFromButtons) {
        static constexpr std::array<const char*, 4> kWords = {"up", "down", "left", "right"};
        std::string text = "buttons:";
        for (size_t i = 0; i < kWords.size(); ++i) {
            const uint32_t mask = device.hatButtonMasks[i];
            text += Printf(" %s %s", kWords[i], mask != 0 ? RawButtonOf(mask).c_str() : "none");
        }
        sources.push_back(text);
    }
    if (sources.empty()) {
        console.Line("Hat: none (the hat stays centred)");
        return;
    }
    console.Line("Hat: " + sources.front());
    for (size_t i = 1; i < sources.size(); ++i) console.Line("     also named, not used: " + sources[i]);
}

void DescribeDevice(const GamePad::Device& device, Console& console) {
    console.Line(Printf("Layout: %s", device.layoutName.empty() ? "(none)" : device.layoutName.c_str()));
    DescribeHat(device, console);
    console.Line("Axis transforms:");
    if (device.axisTransforms.empty()) console.Line("  (none)");
    for (const auto& [source, target] : device.axisTransforms) {
        console.Line(Printf("  %-5s -> %s%s", RawAxisOf(source).c_str(), TargetOf(target).c_str(),
                            AxisTargetActs(target) ? "" : "  (no effect from an axis)"));
    }
    console.Line("Button transforms:");
    if (device.buttonTransforms.empty()) console.Line("  (none)");
    for (const auto& [bit, target] : device.buttonTransforms) {
        console.Line(Printf("  %-5s -> %s%s", RawButtonOf(bit).c_str(), TargetOf(target).c_str(),
                            (target & GamePad::kButtonMask) != 0 ? "" : "  (no effect from a button)"));
    }
}

int RunPad(const Arguments& arguments, Console& console) {
    if (arguments.positional.size() != 2) {
        console.ErrorLine(
            "keyweave pad: Cannot look up a pad without a database and VID:PID (see keyweave pad --help)");
        return kExitFailed;
    }
    const std::string& database = arguments.positional[0];
    const std::string& ids = arguments.positional[1];
    const size_t colon = ids.find(':');
    const std::optional<uint32_t> vendor = colon == std::string::npos ? std::nullopt : ReadHex(ids.substr(0, colon));
    const std::optional<uint32_t> product = colon == std::string::npos ? std::nullopt : ReadHex(ids.substr(colon + 1));
    if (!vendor || !product) {
        console.ErrorLine(Printf("keyweave pad: Cannot read pad ids '%s': write VID:PID in hexadecimal, like 045e:028e",
                                 ids.c_str()));
        return kExitFailed;
    }
    const std::string padName = Printf("%04x:%04x", *vendor, *product);

    Attempt own = PreparePad(database, *vendor, *product, console);
    if (own.databaseUnreadable) return kExitFailed;
    if (own.device) {
        console.Line(Printf("Pad %s: entry of its own, hardware '%s'", padName.c_str(), own.hardware.c_str()));
        DescribeDevice(*own.device, console);
        return kExitDone;
    }
    console.Line("Cannot attach GamePad");
    Attempt generic = PreparePad(database, kGenericVendor, kGenericProduct, console);
    if (generic.databaseUnreadable) return kExitFailed;
    if (!generic.device) {
        console.Line("Cannot attach GamePad");
        console.Line(Printf("Pad %s: no entry of its own and no generic entry 8380:0003: the pad is not attached",
                            padName.c_str()));
        return kExitFaults;
    }
    console.Line(Printf("Pad %s: no entry of its own; attached with the generic entry 8380:0003, hardware '%s'",
                        padName.c_str(), generic.hardware.c_str()));
    DescribeDevice(*generic.device, console);
    return kExitFaults;
}

}  // namespace

const CommandSpec kPadCommand{"pad", "show which game-pad database entry a pad gets and what it maps", kPadHelp,
                              kPadOptions, &RunPad};

}  // namespace Keyweave::Tool
