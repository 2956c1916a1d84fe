#pragma once
// The game-pad database reader: one pass over the database file for one
// device, finding the device's hardware by its "vvvv:pppp" ids and storing
// the mapping of that hardware in the device.
//
// The file is plain 8-bit text. "[Hardware]" and "[Hardware.Win32]" sections
// hold "vvvv:pppp = Hardware Name" rules (lower-case hex); "[Hardware.MacOS]"
// and "[Hardware.Linux]" are skipped; any other section is the mapping of the
// hardware of that name and counts only if it comes after the hardware rule
// that matched. The read stops at the first bad line.
//
// A reader lives for one Prepare call on the attaching thread and touches only
// the device it prepares, which no other thread can see yet.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/log.h"
#include "gamepad/device.h"

namespace Keyweave::GamePad {

class DatabaseReader {
public:
    // The longest line the file may hold, its line break not counted.
    static constexpr size_t kMaxLineLength = 255;

    DatabaseReader(Device& device, const Log& log) : device_(device), log_(log) {}

    // Reads device.databasePath. True when a hardware rule matched the device
    // and every line was valid; on false the device may hold part of the
    // mapping and must be discarded.
    [[nodiscard]] bool Read();
    // After Read: the name of the hardware rule that matched ("" for none),
    // and whether the file itself could not be read.
    [[nodiscard]] const std::string& HardwareName() const { return hardwareName_; }
    [[nodiscard]] bool Unreadable() const { return unreadable_; }

private:
    enum class Section { kNone, kHardware, kSkipped, kMapping };

    [[nodiscard]] bool ProcessLine(std::string_view line);
    [[nodiscard]] bool ProcessHeader(std::string_view line);
    [[nodiscard]] bool ProcessHardwareRule(std::string_view line);
    [[nodiscard]] bool ProcessMappingRule(std::string_view line);
    [[nodiscard]] bool ApplyAxisRule(std::string_view source, std::string_view target);
    [[nodiscard]] bool ApplyHatRule(std::string_view source, std::string_view target);
    [[nodiscard]] bool ApplyButtonRule(std::string_view source, std::string_view target);

    Device& device_;
    const Log& log_;
    Section section_ = Section::kNone;
    std::string sectionName_;   // the current mapping section; empty elsewhere
    std::string hardwareName_;  // of the last hardware rule that matched
    bool buttonsDriveHat_ = false;
    bool unreadable_ = false;
};

// What a Prepare call found, for tools that show it.
struct PrepareReport {
    std::string hardware;     // the matching hardware rule's name; "" for none
    bool unreadable = false;  // the file could not be opened or read
};

// Logs "Preparing GamePad" and reads the database for the device, logging
// "Cannot parse GamePad database" when that fails. On true the device's layout
// name, hat sources, hat masks and transforms are filled.
// `report`, when given, receives what the reader found.
[[nodiscard]] bool Prepare(Device& device, const Log& log, PrepareReport* report = nullptr);

}  // namespace Keyweave::GamePad
