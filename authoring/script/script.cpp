#include "script/script.h"

#include <array>
#include <set>
#include <span>
#include <utility>

#include "common/printf.h"
#include "common/screen_size.h"
#include "config/text_utilities.h"
#include "script/script_words.h"

namespace Keyweave::Tool {
namespace {

using Kind = ScriptCommand::Kind;

bool Percents(WordReader& reader, ScriptWords args, ScriptCommand& command) {
    for (size_t i = 0; i < args.size() && i < command.values.size(); ++i) {
        if (!reader.Percent(args[i], command.values[i])) return false;
    }
    return true;
}

// ---- Commands ----

bool ParseTime(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{command.kind == Kind::kWait ? "wait MS" : "at MS", error};
    return reader.Count(args, 1) && reader.Millis(args[0], command.millis);
}

bool ParseKey(ScriptWords args, ScriptCommand& command, std::string& error) {
    const char* usage = command.kind == Kind::kPress     ? "press KEY"
                        : command.kind == Kind::kRelease ? "release KEY"
                                                         : "tap KEY";
    WordReader reader{usage, error};
    return reader.Count(args, 1) && reader.Key(args[0], command.key);
}

bool ParseController(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"controller A|B|C|D|E|F|G|H|Up|Down|Left|Right down|up", error};
    if (!reader.Count(args, 2)) return false;
    static constexpr std::array<std::pair<const char*, uint32_t>, 12> kButtons = {{{"A", 'A'},
                                                                                   {"B", 'B'},
                                                                                   {"C", 'C'},
                                                                                   {"D", 'D'},
                                                                                   {"E", 'E'},
                                                                                   {"F", 'F'},
                                                                                   {"G", 'G'},
                                                                                   {"H", 'H'},
                                                                                   {"Up", 'u'},
                                                                                   {"Down", 'd'},
                                                                                   {"Left", 'l'},
                                                                                   {"Right", 'r'}}};
    command.controller = 0;
    for (const auto& [name, code] : kButtons) {
        if (args[0].text == name) command.controller = code;
    }
    if (command.controller == 0) return reader.Fail("Cannot find controller button '" + args[0].text + "'");
    size_t index;
    if (!reader.Word(args[1], {"up", "down"}, index)) return false;
    command.on = index == 1;
    return true;
}

bool ParseType(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"type \"TEXT\"", error};
    if (!reader.Count(args, 1) || !args[0].quoted) return reader.Usage();
    command.argument = args[0].text;
    return true;
}

bool ParseMouse(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"mouse X Y", error};
    return reader.Count(args, 2) && Percents(reader, args, command);
}

bool ParseButton(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{command.kind == Kind::kButton ? "button left|right down|up" : "click left|right", error};
    if (!reader.Count(args, command.kind == Kind::kButton ? 2 : 1)) return false;
    size_t side;
    if (!reader.Word(args[0], {"left", "right"}, side)) return false;
    const bool left = side == 0;
    if (command.kind == Kind::kClick) {
        command.mouseMessage = left ? KEYWEAVE_MOUSE_LEFT_DOWN : KEYWEAVE_MOUSE_RIGHT_DOWN;
        return true;
    }
    size_t state;
    if (!reader.Word(args[1], {"down", "up"}, state)) return false;
    const bool down = state == 0;
    command.mouseMessage = left ? (down ? KEYWEAVE_MOUSE_LEFT_DOWN : KEYWEAVE_MOUSE_LEFT_UP)
                                : (down ? KEYWEAVE_MOUSE_RIGHT_DOWN : KEYWEAVE_MOUSE_RIGHT_UP);
    return true;
}

bool ParseScroll(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"scroll begin X Y | scroll move DX DY | scroll end", error};
    if (args.empty()) return reader.Usage();
    size_t which;
    if (!reader.Word(args[0], {"begin", "move", "end"}, which)) return false;
    command.kind = which == 0 ? Kind::kScrollBegin : which == 1 ? Kind::kScrollMove : Kind::kScrollEnd;
    if (which == 2) return reader.Count(args, 1);
    return reader.Count(args, 3) && Percents(reader, args.subspan(1), command);
}

bool ParseZoom(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"zoom begin X Y | zoom scale FACTOR | zoom end", error};
    if (args.empty()) return reader.Usage();
    size_t which;
    if (!reader.Word(args[0], {"begin", "scale", "end"}, which)) return false;
    command.kind = which == 0 ? Kind::kZoomBegin : which == 1 ? Kind::kZoomScale : Kind::kZoomEnd;
    if (which == 0) return reader.Count(args, 3) && Percents(reader, args.subspan(1), command);
    if (which == 1) return reader.Count(args, 2) && reader.Float(args[1], command.values[0]);
    return reader.Count(args, 1);
}

bool ParseEmulate(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{
        "emulate swipe X Y DIRECTION | emulate swipe-xy X1 Y1 X2 Y2 | emulate pinch X Y in|out | "
        "emulate swipe-knobs LENGTH MS | emulate pinch-knobs SPLIT IN OUT MS",
        error};
    if (args.empty()) return reader.Usage();
    size_t which;
    if (!reader.Word(args[0], {"swipe", "swipe-xy", "pinch", "swipe-knobs", "pinch-knobs"}, which)) return false;
    switch (which) {
        case 0: {
            command.kind = Kind::kEmulateSwipe;
            reader.usage = "emulate swipe X Y up|down|left|right";
            if (!reader.Count(args, 4) || !Percents(reader, args.subspan(1, 2), command)) return false;
            size_t direction;
            if (reader.Word(args[3], {"up", "down", "left", "right"}, direction)) {
                command.direction = static_cast<int32_t>(direction + 1);
                return true;
            }
            // any other direction number, as the host may pass it
            return reader.Int32(args[3], command.direction) || reader.Usage();
        }
        case 1:
            command.kind = Kind::kEmulateSwipeXY;
            reader.usage = "emulate swipe-xy X1 Y1 X2 Y2";
            return reader.Count(args, 5) && Percents(reader, args.subspan(1), command);
        case 2: {
            command.kind = Kind::kEmulatePinch;
            reader.usage = "emulate pinch X Y in|out";
            size_t direction;
            if (!reader.Count(args, 4) || !Percents(reader, args.subspan(1, 2), command) ||
                !reader.Word(args[3], {"out", "in"}, direction)) {
                return false;
            }
            command.on = direction == 1;
            return true;
        }
        case 3:
            command.kind = Kind::kSwipeKnobs;
            reader.usage = "emulate swipe-knobs LENGTH MS";
            return reader.Count(args, 3) && reader.Percent(args[1], command.values[0]) &&
                   reader.Millis(args[2], command.millis);
        default:
            command.kind = Kind::kPinchKnobs;
            reader.usage = "emulate pinch-knobs SPLIT IN OUT MS";
            return reader.Count(args, 5) && Percents(reader, args.subspan(1, 3), command) &&
                   reader.Millis(args[4], command.millis);
    }
}

bool ParseShake(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"shake X Y Z", error};
    if (!reader.Count(args, 3)) return false;
    for (size_t i = 0; i < 3; ++i) {
        if (!reader.Float(args[i], command.values[i])) return false;
    }
    return true;
}

bool ParsePadIds(WordReader& reader, const ScriptWord& token, ScriptCommand& command) {
    const size_t colon = token.text.find(':');
    const std::string_view ids = token.text;
    if (colon == std::string::npos || !ReadHex(ids.substr(0, colon), 4, command.vendor) ||
        !ReadHex(ids.substr(colon + 1), 4, command.product)) {
        return reader.Fail("Cannot read pad ids '" + token.text + "': write VID:PID in hexadecimal, like 045e:028e");
    }
    return true;
}

bool ParsePad(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"pad attach ID VID:PID DATABASE | pad report ID X Y Z RX RY RZ HAT BUTTONS | pad detach ID",
                      error};
    if (args.empty()) return reader.Usage();
    size_t which;
    if (!reader.Word(args[0], {"attach", "report", "detach"}, which)) return false;
    if (which == 0) {
        command.kind = Kind::kPadAttach;
        reader.usage = "pad attach ID VID:PID DATABASE";
        if (!reader.Count(args, 4) || !reader.Int32(args[1], command.number)) return false;
        command.argument = args[3].text;
        return ParsePadIds(reader, args[2], command);
    }
    if (which == 2) {
        command.kind = Kind::kPadDetach;
        reader.usage = "pad detach ID";
        return reader.Count(args, 2) && reader.Int32(args[1], command.number);
    }
    command.kind = Kind::kPadReport;
    reader.usage = "pad report ID X Y Z RX RY RZ HAT BUTTONS";
    if (!reader.Count(args, 10) || !reader.Int32(args[1], command.number)) return false;
    int32_t* fields[] = {&command.report.x,  &command.report.y,  &command.report.z,   &command.report.rx,
                         &command.report.ry, &command.report.rz, &command.report.hat, &command.report.buttons};
    for (size_t i = 0; i < 8; ++i) {
        if (!reader.Int32(args[i + 2], *fields[i])) return false;
    }
    return true;
}

bool ParseReload(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"reload [KEYMAP [PACKAGE]]", error};
    if (args.size() > 2) return reader.Usage();
    if (!args.empty()) command.argument = args[0].text;
    if (args.size() == 2) command.package = args[1].text;
    return true;
}

bool ParseLocale(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"locale NAME", error};
    if (!reader.Count(args, 1)) return false;
    command.argument = args[0].text;
    return true;
}

bool ParseSwitch(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{command.kind == Kind::kMapping ? "mapping on|off" : "forward-raw on|off", error};
    return reader.Count(args, 1) && reader.Switch(args[0], command.on);
}

bool ParseShootingAnswer(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"shooting-answer N", error};
    return reader.Count(args, 1) && reader.Int32(args[0], command.number);
}

bool ParseScreen(ScriptWords args, ScriptCommand& command, std::string& error) {
    WordReader reader{"screen WxH", error};
    return reader.Count(args, 1) && ParseScreenSize(args[0].text, command.screen, error);
}

struct CommandEntry {
    const char* name;
    Kind kind;
    bool (*parse)(ScriptWords args, ScriptCommand& command, std::string& error);
};

constexpr CommandEntry kCommands[] = {
    {"wait", Kind::kWait, &ParseTime},
    {"at", Kind::kAt, &ParseTime},
    {"press", Kind::kPress, &ParseKey},
    {"release", Kind::kRelease, &ParseKey},
    {"tap", Kind::kTap, &ParseKey},
    {"controller", Kind::kController, &ParseController},
    {"type", Kind::kType, &ParseType},
    {"mouse", Kind::kMouseMove, &ParseMouse},
    {"button", Kind::kButton, &ParseButton},
    {"click", Kind::kClick, &ParseButton},
    {"scroll", Kind::kScrollBegin, &ParseScroll},
    {"zoom", Kind::kZoomBegin, &ParseZoom},
    {"emulate", Kind::kEmulateSwipe, &ParseEmulate},
    {"shake", Kind::kShake, &ParseShake},
    {"pad", Kind::kPadAttach, &ParsePad},
    {"reload", Kind::kReload, &ParseReload},
    {"locale", Kind::kLocale, &ParseLocale},
    {"mapping", Kind::kMapping, &ParseSwitch},
    {"forward-raw", Kind::kForwardRawKeys, &ParseSwitch},
    {"shooting-answer", Kind::kShootingAnswer, &ParseShootingAnswer},
    {"screen", Kind::kScreen, &ParseScreen},
};

bool ParseLine(std::string_view line, uint32_t number, std::vector<ScriptCommand>& commands, std::string& error) {
    std::vector<ScriptWord> tokens;
    size_t end = 0;
    if (!SplitScriptLine(line, tokens, end, error)) return false;
    if (tokens.empty()) return true;
    for (const CommandEntry& entry : kCommands) {
        if (tokens.front().quoted || tokens.front().text != entry.name) continue;
        ScriptCommand command;
        command.kind = entry.kind;
        command.line = number;
        command.text = std::string(Text::TrimRight(Text::TrimLeft(line.substr(0, end))));
        if (!entry.parse(ScriptWords(tokens).subspan(1), command, error)) return false;
        commands.push_back(std::move(command));
        return true;
    }
    error = "Cannot use unknown command '" + tokens.front().text + "'";
    return false;
}

// Mistakes that only the order of the lines shows: an "at" behind the time the
// waits before it reach, and reports to or detaches of a pad that no earlier
// line attaches. Typing and emulated gestures also take time, which only the
// play knows; an "at" that they overtake stops the play there.
bool CheckOrder(const std::vector<ScriptCommand>& commands, ScriptError& error) {
    int64_t time = 0;  // at least this, from the waits and ats alone
    std::set<int32_t> pads;
    for (const ScriptCommand& command : commands) {
        switch (command.kind) {
            case Kind::kWait:
                time += command.millis;
                break;
            case Kind::kAt:
                if (command.millis < time) {
                    error = {command.line,
                             Printf("Cannot go back to %lld ms: the lines before wait until %lld ms",
                                    static_cast<long long>(command.millis), static_cast<long long>(time))};
                    return false;
                }
                time = command.millis;
                break;
            case Kind::kScreen:
                if (&command != &commands.front()) {
                    error = {command.line, "Cannot change the screen during a play: a screen line comes first"};
                    return false;
                }
                break;
            case Kind::kPadAttach:
                pads.insert(command.number);
                break;
            case Kind::kPadReport:
            case Kind::kPadDetach:
                if (pads.count(command.number) == 0) {
                    error = {command.line,
                             Printf("Cannot %s pad %d: no line before attaches it",
                                    command.kind == Kind::kPadReport ? "report to" : "detach", command.number)};
                    return false;
                }
                if (command.kind == Kind::kPadDetach) pads.erase(command.number);
                break;
            default:
                break;
        }
    }
    return true;
}

}  // namespace

bool ParseScript(std::string_view text, std::vector<ScriptCommand>& commands, ScriptError& error) {
    commands.clear();
    uint32_t number = 0;
    while (!text.empty() || number == 0) {
        ++number;
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        std::string message;
        if (!ParseLine(line, number, commands, message)) {
            error = {number, message};
            return false;
        }
        if (text.empty()) break;
    }
    return CheckOrder(commands, error);
}

void TakeScriptScreen(const std::vector<ScriptCommand>& commands, ScreenSize& screen) {
    if (!commands.empty() && commands.front().kind == ScriptCommand::Kind::kScreen) screen = commands.front().screen;
}

}  // namespace Keyweave::Tool
