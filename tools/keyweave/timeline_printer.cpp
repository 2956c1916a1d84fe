#include "keyweave/timeline_printer.h"

#include "codes/key_names.h"
#include "keyweave/console.h"

namespace Keyweave::Tool {
namespace {

using Kind = TimelineEvent::Kind;

double Percent(float fraction) { return static_cast<double>(fraction) * 100.0; }

std::string KeyText(const TimelineEvent& event) {
    if (event.code == 0 && event.byte == 0xE0) return Printf("0x%02X E0 prefix", event.byte);
    const char* name = KeyNameOf(event.code);
    const std::string state = event.down ? "down" : "up";
    if (std::string(name) == "UNKNOWN") return Printf("0x%02X %s", event.byte, state.c_str());
    return Printf("0x%02X %s %s", event.byte, name, state.c_str());
}

const char* ShootingWord(int32_t code) {
    switch (code) {
        case 0: return "ended";
        case 1: return "started";
        case 3: return "query";
        default: return "other";
    }
}

}  // namespace

const char* TouchState(const TimelineEvent& event) {
    if (event.down) return event.wasDown ? "move" : "down";
    return event.wasDown ? "up" : "lifted";
}

std::string JsonEscape(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '"': escaped += "\\\""; break;
            case '\\': escaped += "\\\\"; break;
            case '\n': escaped += "\\n"; break;
            case '\r': escaped += "\\r"; break;
            case '\t': escaped += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    escaped += Printf("\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                } else {
                    escaped += c;
                }
        }
    }
    return escaped;
}

std::string EventText(const TimelineEvent& event) {
    const std::string time = Printf("%6lld  ", static_cast<long long>(event.time));
    switch (event.kind) {
        case Kind::kInput: return time + "> " + event.text;
        case Kind::kTouch:
            return time + Printf("touch    slot %2d %-6s %6.2f %6.2f", event.slot, TouchState(event), Percent(event.x),
                                 Percent(event.y));
        case Kind::kKey: return time + "key      " + KeyText(event);
        case Kind::kSensor:
            return time + Printf("sensor   %.4f %.4f %.4f", event.vector[0], event.vector[1], event.vector[2]);
        case Kind::kSummary: return time + "summary  " + event.text;
        case Kind::kNotice:
            return time + Printf("notice   pad %d %s, layout \"%s\"", event.pad,
                                 event.value == 1 ? "attached" : event.value == 2 ? "detached" : "event",
                                 event.text.c_str());
        case Kind::kShooting:
            return time + Printf("shooting %s (code %d), host answers %d", ShootingWord(event.value), event.value,
                                 event.answer);
        case Kind::kPassThrough: return time + "pass     mouse move not used by the keymap";
        case Kind::kLog: return time + "log      " + event.text;
        case Kind::kWhy: return time + "why      " + event.text;
    }
    return time;
}

std::string EventJson(const TimelineEvent& event) {
    const std::string head = Printf("{\"time\":%lld,\"event\":", static_cast<long long>(event.time));
    switch (event.kind) {
        case Kind::kInput:
            return head + Printf("\"input\",\"line\":%u,\"text\":\"", event.line) + JsonEscape(event.text) + "\"}";
        case Kind::kTouch:
            return head + Printf("\"touch\",\"slot\":%d,\"state\":\"%s\",\"x\":%.2f,\"y\":%.2f}", event.slot,
                                 TouchState(event), Percent(event.x), Percent(event.y));
        case Kind::kKey: {
            const char* name = event.code == 0 ? "" : KeyNameOf(event.code);
            return head + Printf("\"key\",\"byte\":%u,\"key\":\"%s\",\"down\":%s}", event.byte, name,
                                 event.down ? "true" : "false");
        }
        case Kind::kSensor:
            return head + Printf("\"sensor\",\"x\":%.4f,\"y\":%.4f,\"z\":%.4f}", event.vector[0], event.vector[1],
                                 event.vector[2]);
        case Kind::kSummary: return head + "\"summary\",\"text\":\"" + JsonEscape(event.text) + "\"}";
        case Kind::kNotice:
            return head + Printf("\"notice\",\"pad\":%d,\"notice\":%d,\"layout\":\"", event.pad, event.value) +
                   JsonEscape(event.text) + "\"}";
        case Kind::kShooting:
            return head + Printf("\"shooting\",\"code\":%d,\"answer\":%d}", event.value, event.answer);
        case Kind::kPassThrough: return head + "\"pass-through\"}";
        case Kind::kLog: return head + "\"log\",\"text\":\"" + JsonEscape(event.text) + "\"}";
        case Kind::kWhy:
            return head + "\"why\",\"reason\":\"" + event.reason + Printf("\",\"line\":%u,\"slot\":%d", event.line, event.slot) +
                   ",\"keys\":\"" + JsonEscape(event.keys) + "\",\"text\":\"" + JsonEscape(event.text) + "\"}";
    }
    return head + "\"unknown\"}";
}

}  // namespace Keyweave::Tool
