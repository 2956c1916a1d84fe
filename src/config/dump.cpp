#include "config/dump.h"

#include "base/format.h"
#include "codes/key_names.h"

namespace Keyweave {
namespace {

// Each summary piece after the first is cut to fit this buffer.
constexpr size_t kPieceBytes = 256;

template <typename... Args>
std::string Piece(const char* format, Args... args) {
    char buffer[kPieceBytes];
    Format(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::string AreaPiece(const char* name, const OpenSensorArea& area, const std::string& label) {
    return Piece("|%s=(%.2f,%.2f,%.2f,%.2f) %s", name, area.x, area.y, area.width, area.height, label.c_str());
}

}  // namespace

void DumpToLog(const Config& config, const Log& log) {
    if (!log.Enabled()) return;
    log.Write("Config for package %s", config.mPackage.c_str());
    log.Write("Keys:");
    for (const auto& [keys, actions] : config.mKeyRules) {
        std::string names;
        for (uint32_t code : keys) {  // ascending
            if (!names.empty()) names += ',';
            names += KeyNameOf(code);
        }
        log.Write("    %s", names.c_str());
        for (const Action* action : actions) log.Write("        %s", action->Describe().c_str());
    }
}

std::string SummaryText(const Config& config) {
    std::string summary = config.mMode + "|Package=" + config.mPackage;
    for (const auto& [code, label] : config.mControllerLabels) {
        summary += Piece("|%c=%s", static_cast<int>(static_cast<unsigned char>(code)), config.Translate(label).c_str());
    }
    if (config.mArea1.enabled) summary += AreaPiece("Area1", config.mArea1, config.Translate(config.mArea1.label));
    if (config.mArea2.enabled) summary += AreaPiece("Area2", config.mArea2, config.Translate(config.mArea2.label));
    if (!config.mTilt.empty()) summary += Piece("|Tilt=%s", config.Translate(config.mTilt).c_str());
    if (!config.mSwipeTap.empty()) summary += Piece("|SwipeTap=%s", config.Translate(config.mSwipeTap).c_str());
    return summary;
}

}  // namespace Keyweave
