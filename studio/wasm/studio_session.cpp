#include "studio_session.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>
#include <vector>

#include "actions/actions.h"
#include "common/files.h"
#include "common/json_text.h"
#include "common/printf.h"
#include "config/line_reader.h"
#include "diagnostics/diagnostics.h"
#include "import/import_keymap.h"
#include "keymap/keymap_load.h"
#include "pictures/binding_shapes.h"
#include "pictures/keymap_picture.h"
#include "pictures/svg_writer.h"
#include "script/script.h"
#include "timeline/timeline_printer.h"

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
std::string Hundredths(float value) { return Tool::SvgNumber(std::round(static_cast<double>(value) * 100.0) / 100.0); }

// A binding the page gives a handle, {"keys","kind","x","y","radius"}, after
// the ones in `list`; nothing for a binding without one place. Written as
// text: a reading of 300 bindings builds no JSON objects for them.
void AddBinding(std::string& list, const std::string& keys, const Action& action) {
    Point anchor;
    float radius = 0.0f;                                // percent of the screen width; 0: none to drag
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

// A diagnostic as the page marks it: {"line","severity","message"}, and
// "column" and "length" when one piece of the line is at fault.
void AddDiagnostic(std::string& list, const Diagnostics::Diagnostic& item) {
    list += list.empty() ? "{\"line\":" : ",{\"line\":";
    list += std::to_string(item.line) + ",\"severity\":\"" + Diagnostics::SeverityName(item.severity) +
            "\",\"message\":" + JsonText(item.message);
    if (item.column != 0)
        list += ",\"column\":" + std::to_string(item.column) + ",\"length\":" + std::to_string(item.length);
    list += '}';
}

// What a keymap's picture is drawn from, besides its background: the
// screen, the title and the keymap's lines but its plain comments, which the
// reader skips. A "#" line without a capital letter is one (every directive
// has capitals); a line too long for the reader stays, as it ends the reading.
std::string PictureKey(Tool::ScreenSize screen, const std::string& title, std::string_view text) {
    std::string key = Printf("%dx%d\n", screen.width, screen.height) + title + "\n";
    while (!text.empty()) {
        const size_t feed = text.find('\n');
        const std::string_view line = text.substr(0, feed);
        text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
        const size_t first = line.find_first_not_of(" \t");
        const bool comment = first != std::string_view::npos && line[first] == '#' &&
                             line.size() < LineReader::kMaxLineLength &&
                             std::none_of(line.begin(), line.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
        if (comment) continue;
        key += line;
        key += '\n';
    }
    return key;
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
    std::string diagnostics;
    for (size_t i = 0; i < items.size() && i < kMostDiagnostics; ++i) AddDiagnostic(diagnostics, items[i]);
    // Most edits (a comment typed, a rule's text half written) leave the
    // picture as it was: it is drawn again only when what it is drawn from
    // changed, and sent again only when it looks different.
    bool changed = false;
    std::string key = PictureKey(screen_, name, text);
    if (key != pictureKey_ || background != pictureBackground_) {  // a screenshot is compared, not copied
        pictureKey_ = std::move(key);
        pictureBackground_ = background;
        std::string svg = Tool::DrawKeymap(config, {screen_, name, background});
        changed = svg != picture_;
        if (changed) picture_ = std::move(svg);
    }
    return "{\"readable\":" + std::string(stored && report.readable ? "true" : "false") +
           ",\"svg\":" + (changed ? JsonText(picture_) : "null") + ",\"bindings\":" + BindingsJson(config) +
           ",\"diagnostics\":[" + diagnostics +
           "],\"unlisted\":" + std::to_string(items.size() - std::min(items.size(), kMostDiagnostics)) + "}";
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
