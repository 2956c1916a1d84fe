#include "studio_session.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <utility>
#include <vector>

#include "actions/actions.h"
#include "diagnostics/diagnostics.h"
#include "keyweave/binding_shapes.h"
#include "keyweave/check_output.h"
#include "keyweave/console.h"
#include "keyweave/import_keymap.h"
#include "keyweave/keymap_load.h"
#include "keyweave/keymap_picture.h"
#include "keyweave/script.h"
#include "keyweave/svg_writer.h"
#include "keyweave/timeline_printer.h"

namespace Keyweave::Studio {
namespace {

using Json = nlohmann::ordered_json;
using Tool::JsonText;
using Tool::Printf;

Json EventsJson(const std::vector<Tool::TimelineEvent>& events) {
    Json list = Json::array();
    for (const Tool::TimelineEvent& event : events) {
        list.push_back({{"json", Tool::EventObject(event)}, {"text", Tool::EventText(event)}});
    }
    return list;
}

// `value` to two decimals, as the page shows it, as JSON.
std::string Hundredths(float value) {
    return Tool::SvgNumber(std::round(static_cast<double>(value) * 100.0) / 100.0);
}

// A binding the page gives a handle, {"keys","kind","x","y","radius"}, after
// the ones in `list`; nothing for a binding without one place. Written as
// text: a reading of 300 bindings builds no JSON objects for them.
void AddBinding(std::string& list, const std::string& keys, const Action& action) {
    Point anchor;
    float radius = 0.0f;  // percent of the screen width; 0: none to drag
    if (action.type == ActionType::kSwipeHoldAction) {  // a direction pad's key: its pad's centre and reach
        const auto& pad = static_cast<const SwipeHoldAction&>(action);
        anchor = pad.point;
        radius = pad.radius * 100.0f;
    } else if (!Tool::AnchorOf(action, anchor)) {
        return;
    }
    list += list.empty() ? "{\"keys\":" : ",{\"keys\":";
    list += JsonText(keys);
    list += ",\"kind\":\"";
    list += Tool::ActionKind(action);  // a record's name: letters only
    list += "\",\"x\":" + Hundredths(anchor.x * 100.0f) + ",\"y\":" + Hundredths(anchor.y * 100.0f) +
            ",\"radius\":" + Hundredths(radius) + "}";
}

std::string BindingsJson(const Config& config) {
    std::string list;
    for (const auto& [keys, actions] : config.mKeyRules) {
        const std::string label = Tool::KeySetLabel(keys);
        for (const Action* action : actions) AddBinding(list, label, *action);
    }
    return "[" + list + "]";
}

}  // namespace

Session::Session() = default;
Session::~Session() = default;

void Session::SetScreen(int32_t width, int32_t height) {
    if (width > 0 && height > 0) screen_ = {width, height};
}

std::string Session::PathOf(const std::string& name) const {
    const size_t slash = name.find_last_of("/\\");
    const std::string file = slash == std::string::npos ? name : name.substr(slash + 1);
    return "/" + (file.empty() ? std::string("keymap.cfg") : file);
}

std::string Session::Store(const std::string& name, const std::string& text) {
    const std::string path = PathOf(name);
    return Tool::WriteFile(path, text) ? path : std::string();
}

constexpr size_t kMostDiagnostics = 2000;

std::string Session::Open(const std::string& name, const std::string& background) {
    std::string text;
    const bool stored = Tool::ReadFile(PathOf(name), text);
    // One reading gives the diagnostics and the keymap the picture shows.
    Config config;
    const Diagnostics::Report report = Diagnostics::Analyse(text, "", config);
    // The page marks the first diagnostics at their lines and counts the
    // rest: a keymap with tens of thousands of warnings stays quick to edit.
    const std::vector<Diagnostics::Diagnostic>& items = report.items;
    Json diagnostics = Json::array();
    for (size_t i = 0; i < items.size() && i < kMostDiagnostics; ++i) {
        diagnostics.push_back(Tool::DiagnosticObject(name, items[i]));
    }
    // Most edits (a comment, a note, a rule's text being typed) leave the
    // picture as it was: then it is not sent again.
    std::string svg = Tool::DrawKeymap(config, {screen_, name, background});
    const bool changed = svg != picture_;
    if (changed) picture_ = std::move(svg);
    return "{\"readable\":" + std::string(stored && report.readable ? "true" : "false") +
           ",\"svg\":" + (changed ? JsonText(picture_) : "null") + ",\"bindings\":" + BindingsJson(config) +
           ",\"diagnostics\":" + JsonText(diagnostics) +
           ",\"unlisted\":" + std::to_string(items.size() - std::min(items.size(), kMostDiagnostics)) + "}";
}

std::string Session::Import(const std::string& name, const std::string& text) {
    namespace Import = Tool::Import;
    Import::Keymap keymap;
    Import::Options options;
    options.screen = screen_;
    std::vector<std::string> notes;
    std::string converted, error;
    if (!Import::FromText(text, name, options, keymap, converted, notes, error)) {
        return JsonText({{"ok", false}, {"error", error}});
    }
    return JsonText({{"ok", true},
                     {"text", converted},
                     {"converted", keymap.converted()},
                     {"dropped", keymap.dropped()},
                     {"fieldsDropped", keymap.fieldsDropped()},
                     {"notes", notes}});
}

std::string Session::Play(const std::string& name, const std::string& script) {
    std::vector<Tool::ScriptCommand> commands;
    Tool::ScriptError error;
    if (!Tool::ParseScript(script, commands, error)) {
        const std::string message = Printf("script:%u: %s", error.line, error.message.c_str());
        return JsonText({{"ok", false}, {"error", message}, {"events", Json::array()}});
    }
    Tool::PlayOptions options;
    options.keymapPath = PathOf(name);
    options.package = Tool::PackageOfPath(options.keymapPath);
    options.screen = screen_;
    Tool::TakeScriptScreen(commands, options.screen);
    Tool::ScriptPlayer player(options);
    const bool played = player.Play(commands, error);
    const std::string message = played ? "" : Printf("script:%u: %s", error.line, error.message.c_str());
    return JsonText({{"ok", played}, {"error", message}, {"events", EventsJson(player.recorder().Events())}});
}

std::string Session::LiveStart(const std::string& name) {
    Tool::PlayOptions options;
    options.keymapPath = PathOf(name);
    options.package = Tool::PackageOfPath(options.keymapPath);
    options.screen = screen_;
    options.explain = true;  // each input's decisions, for the why line
    live_ = std::make_unique<Tool::ScriptPlayer>(options);
    // The script played names the screen, so that keyweave play of it aims
    // where the page did.
    script_ = Printf("screen %dx%d\n", screen_.width, screen_.height);
    lines_ = 1;
    delivered_ = 0;
    pads_.clear();
    live_->Begin();
    return LiveEvents();
}

std::string Session::LiveLine(const std::string& line) {
    if (!live_) return "Cannot play a line before the try-it mode starts";
    // A script names its pads before it reports to them: the lines that
    // attached them come first here, read and left unplayed.
    std::string text;
    for (const int32_t pad : pads_) text += Printf("pad attach %d 0:0 -\n", pad);
    std::vector<Tool::ScriptCommand> commands;
    Tool::ScriptError error;
    if (!Tool::ParseScript(text + line, commands, error)) return error.message;
    for (size_t i = pads_.size(); i < commands.size(); ++i) {
        Tool::ScriptCommand& command = commands[i];
        command.line = lines_ + 1;
        if (!live_->Step(command, error)) return error.message;
        ++lines_;
        script_ += command.text + "\n";
        if (command.kind == Tool::ScriptCommand::Kind::kPadAttach) pads_.insert(command.number);
        if (command.kind == Tool::ScriptCommand::Kind::kPadDetach) pads_.erase(command.number);
    }
    return {};
}

void Session::LiveAdvance(double ms) {
    if (!live_ || !(ms >= 0.0) || ms > 1e12) return;
    const Millis target = Tool::ScriptPlayer::kClockStart + static_cast<Millis>(ms);
    if (target > live_->Now()) live_->AdvanceTo(target);
}

double Session::LiveNextDue() const {
    Millis due = 0;
    if (!live_ || !live_->NextDue(due)) return -1.0;
    return static_cast<double>(due - Tool::ScriptPlayer::kClockStart);
}

std::string Session::LiveEvents() {
    if (!live_) return "[]";
    std::vector<Tool::TimelineEvent> events = live_->recorder().Events(delivered_);
    delivered_ += events.size();
    return JsonText(EventsJson(events));
}

std::string Session::LiveFinish() {
    if (!live_) return "[]";
    live_->Finish();
    return LiveEvents();
}

}  // namespace Keyweave::Studio
