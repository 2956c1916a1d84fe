#include "timeline/timeline_printer.h"

#include <cmath>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <utility>

#include "codes/key_names.h"
#include "common/json_text.h"
#include "common/printf.h"

namespace Keyweave::Tool {
namespace {

using Kind = TimelineEvent::Kind;

double Percent(float fraction) { return static_cast<double>(fraction) * 100.0; }

// `value` to the nearest 1/`steps`, so that JSON carries the digits the text shows.
double Rounded(double value, double steps) { return std::round(value * steps) / steps; }

std::string KeyText(const TimelineEvent& event) {
    if (event.code == 0 && event.byte == 0xE0) return Printf("0x%02X E0 prefix", event.byte);
    const char* name = KeyNameOf(event.code);
    const std::string state = event.down ? "down" : "up";
    if (std::string(name) == "UNKNOWN") return Printf("0x%02X %s", event.byte, state.c_str());
    return Printf("0x%02X %s %s", event.byte, name, state.c_str());
}

const char* ShootingWord(int32_t code) {
    switch (code) {
        case 0:
            return "ended";
        case 1:
            return "started";
        case 3:
            return "query";
        default:
            return "other";
    }
}

}  // namespace

const char* TouchState(const TimelineEvent& event) {
    if (event.down) return event.wasDown ? "move" : "down";
    return event.wasDown ? "up" : "lifted";
}

std::string EventText(const TimelineEvent& event) {
    std::string time = Printf("%6lld  ", static_cast<long long>(event.time));
    switch (event.kind) {
        case Kind::kInput:
            return time + "> " + event.text;
        case Kind::kTouch:
            return time + Printf("touch    slot %2d %-6s %6.2f %6.2f", event.slot, TouchState(event), Percent(event.x),
                                 Percent(event.y));
        case Kind::kKey:
            return time + "key      " + KeyText(event);
        case Kind::kSensor:
            return time + Printf("sensor   %.4f %.4f %.4f", event.vector[0], event.vector[1], event.vector[2]);
        case Kind::kSummary:
            return time + "summary  " + event.text;
        case Kind::kNotice:
            return time + Printf("notice   pad %d %s, layout \"%s\"", event.pad,
                                 event.value == 1   ? "attached"
                                 : event.value == 2 ? "detached"
                                                    : "event",
                                 event.text.c_str());
        case Kind::kShooting:
            return time + Printf("shooting %s (code %d), host answers %d", ShootingWord(event.value), event.value,
                                 event.answer);
        case Kind::kPassThrough:
            return time + "pass     mouse move not used by the keymap";
        case Kind::kLog:
            return time + "log      " + event.text;
        case Kind::kWhy:
            return time + "why      " + event.text;
    }
    return time;
}

nlohmann::ordered_json EventObject(const TimelineEvent& event) {
    nlohmann::ordered_json object = {{"time", event.time}};
    using Fields = std::initializer_list<std::pair<const char*, nlohmann::ordered_json>>;
    const auto add = [&](const char* kind, Fields fields) {
        object["event"] = kind;
        for (const auto& [name, value] : fields) object[name] = value;
        return object;
    };
    switch (event.kind) {
        case Kind::kInput:
            return add("input", {{"line", event.line}, {"text", event.text}});
        case Kind::kTouch:
            return add("touch", {{"slot", event.slot},
                                 {"state", TouchState(event)},
                                 {"x", Rounded(Percent(event.x), 100)},
                                 {"y", Rounded(Percent(event.y), 100)}});
        case Kind::kKey:
            return add(
                "key",
                {{"byte", event.byte}, {"key", event.code == 0 ? "" : KeyNameOf(event.code)}, {"down", event.down}});
        case Kind::kSensor:
            return add("sensor", {{"x", Rounded(event.vector[0], 10000)},
                                  {"y", Rounded(event.vector[1], 10000)},
                                  {"z", Rounded(event.vector[2], 10000)}});
        case Kind::kSummary:
            return add("summary", {{"text", event.text}});
        case Kind::kNotice:
            return add("notice", {{"pad", event.pad}, {"notice", event.value}, {"layout", event.text}});
        case Kind::kShooting:
            return add("shooting", {{"code", event.value}, {"answer", event.answer}});
        case Kind::kPassThrough:
            return add("pass-through", {});
        case Kind::kLog:
            return add("log", {{"text", event.text}});
        case Kind::kWhy:
            return add("why", {{"reason", event.reason},
                               {"line", event.line},
                               {"slot", event.slot},
                               {"keys", event.keys},
                               {"text", event.text}});
    }
    return add("unknown", {});
}

std::string EventJson(const TimelineEvent& event) { return JsonText(EventObject(event)); }

}  // namespace Keyweave::Tool
