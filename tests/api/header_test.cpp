// The public header against the engine: every named code has the value the
// engine uses, the version macros agree with the build's version, and the
// UTF-8 path helper converts alike when compiled as C99 and as C++.
#include <gtest/gtest.h>
#include <keyweave/keyweave.h>
#include <string>
#include <string_view>

#include "actions/touch_actions.h"
#include "codes/event_codes.h"
#include "codes/key_names.h"
#include "dispatch/dispatcher.h"
#include "engine/engine.h"
#include "gamepad/host_hooks.h"
#include "gamepad/transforms.h"
#include "input/host_notices.h"
#include "input/routing_settings.h"

extern "C" int KeyweaveUtf8AsC99(const char* utf8, KeyweaveChar16* out, size_t capacity);
int KeyweaveUtf8AsCpp(const char* utf8, KeyweaveChar16* out, size_t capacity);

namespace Keyweave {
namespace {

// Each header constant beside the engine's own value (the hat angles are
// checked where the engine reads them, in the game-pad transforms test).
// Compared as numbers: the two sides are often enums of different types.
constexpr bool Same(int64_t header, int64_t engine) { return header == engine; }

static_assert(Same(KEYWEAVE_KEY_MOUSE_MOVE, kKeyMouseMove) && Same(KEYWEAVE_KEY_LEFT_CLICK, kKeyLeftClick) &&
              Same(KEYWEAVE_KEY_RIGHT_CLICK, kKeyRightClick) &&
              Same(KEYWEAVE_KEY_SHOOT_SENSITIVITY, kKeyShootSensitivity) &&
              Same(KEYWEAVE_KEY_MOUSE_WHEEL_DOWN, kKeyMouseWheelDown) &&
              Same(KEYWEAVE_KEY_MOUSE_WHEEL_UP, kKeyMouseWheelUp));
static_assert(Same(KEYWEAVE_KEY_E0(0x48u), kKeyUp) && Same(KEYWEAVE_KEY_E0(0x4Du), kKeyRight));
static_assert(Same(KEYWEAVE_SCAN_CODE_RELEASE, Dispatcher::kReleaseBit));
static_assert(Same(KEYWEAVE_MOUSE_MOVE, kMouseMove) && Same(KEYWEAVE_MOUSE_LEFT_DOWN, kLeftButtonDown) &&
              Same(KEYWEAVE_MOUSE_LEFT_UP, kLeftButtonUp) && Same(KEYWEAVE_MOUSE_RIGHT_DOWN, kRightButtonDown) &&
              Same(KEYWEAVE_MOUSE_RIGHT_UP, kRightButtonUp));
static_assert(Same(KEYWEAVE_PAD_AXIS_MAX, 2 * GamePad::kAxisHalfWay) &&
              Same(KEYWEAVE_PAD_AXIS_MIN, -2 * GamePad::kAxisHalfWay));
static_assert(Same(KEYWEAVE_PAD_ATTACHED, GamePad::kNoticeAttached) &&
              Same(KEYWEAVE_PAD_DETACHED, GamePad::kNoticeDetached));
static_assert(Same(KEYWEAVE_SHOOTING_ENDED, ShootingModeCallback::kEnded) &&
              Same(KEYWEAVE_SHOOTING_STARTED, ShootingModeCallback::kStarted) &&
              Same(KEYWEAVE_SHOOTING_QUERY, ShootingModeCallback::kQuery));
static_assert(Same(KEYWEAVE_SWIPE_UP, kSwipeUp) && Same(KEYWEAVE_SWIPE_DOWN, kSwipeDown) &&
              Same(KEYWEAVE_SWIPE_LEFT, kSwipeLeft) && Same(KEYWEAVE_SWIPE_RIGHT, kSwipeRight));
// The pinch export plays "In" for any non-zero value.
static_assert(!Same(KEYWEAVE_PINCH_IN, 0) && Same(KEYWEAVE_PINCH_OUT, 0));
static_assert(Same(KEYWEAVE_PARSER_VERSION, Engine::kParserVersion));

TEST(PublicHeader, ControllerCodesAreTheKeymapButtons) {
    const struct {
        const char* name;
        uint32_t code;
    } buttons[] = {
        {"A", KEYWEAVE_CONTROLLER_A},       {"B", KEYWEAVE_CONTROLLER_B},       {"C", KEYWEAVE_CONTROLLER_C},
        {"D", KEYWEAVE_CONTROLLER_D},       {"E", KEYWEAVE_CONTROLLER_E},       {"F", KEYWEAVE_CONTROLLER_F},
        {"G", KEYWEAVE_CONTROLLER_G},       {"H", KEYWEAVE_CONTROLLER_H},       {"Up", KEYWEAVE_CONTROLLER_UP},
        {"Down", KEYWEAVE_CONTROLLER_DOWN}, {"Left", KEYWEAVE_CONTROLLER_LEFT}, {"Right", KEYWEAVE_CONTROLLER_RIGHT},
    };
    for (const auto& button : buttons) EXPECT_EQ(ControllerButtonCode(button.name), button.code) << button.name;
}

TEST(PublicHeader, MappingStatesAreTheRoutersAndTheVersionIsTheBuilds) {
    RoutingSettings settings;
    settings.keyMappingState = KEYWEAVE_MAPPING_OFF;
    EXPECT_FALSE(settings.MappingOn());
    settings.keyMappingState = KEYWEAVE_MAPPING_ON;
    EXPECT_TRUE(settings.MappingOn());

    EXPECT_STREQ(KEYWEAVE_VERSION_STRING, KEYWEAVE_PROJECT_VERSION);
    EXPECT_EQ(KEYWEAVE_VERSION_STRING, std::to_string(KEYWEAVE_VERSION_MAJOR) + "." +
                                           std::to_string(KEYWEAVE_VERSION_MINOR) + "." +
                                           std::to_string(KEYWEAVE_VERSION_PATCH));
}

using Converter = int (*)(const char*, KeyweaveChar16*, size_t);

// The helper's result: the UTF-16 text, or "refused" (with an empty output).
std::u16string Convert(Converter convert, const char* utf8, size_t capacity = 64) {
    KeyweaveChar16 out[64];
    out[0] = u'?';
    if (convert(utf8, out, capacity) == 0) return out[0] == 0 ? u"refused" : u"refused, output left";
    std::u16string text;
    for (const KeyweaveChar16* unit = out; *unit != 0; ++unit) text += static_cast<char16_t>(*unit);
    return text;
}

TEST(PublicHeader, Utf8PathsBecomeUtf16AsC99AndAsCpp) {
    for (Converter convert : {Converter{KeyweaveUtf8AsC99}, Converter{KeyweaveUtf8AsCpp}}) {
        SCOPED_TRACE(convert == KeyweaveUtf8AsC99 ? "C99" : "C++");
        EXPECT_EQ(Convert(convert, ""), u"");
        EXPECT_EQ(Convert(convert, "/home/ana/keymaps/com.game.cfg"), u"/home/ana/keymaps/com.game.cfg");
        // Two, three and four bytes; the last a surrogate pair.
        EXPECT_EQ(Convert(convert, "/j\xC3\xA9u/\xE2\x82\xAC/\xF0\x9F\x8E\xAE.cfg"),
                  u"/j\u00E9u/\u20AC/\U0001F3AE.cfg");
        EXPECT_EQ(Convert(convert, "\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
        // Exactly room for the text and its terminator, then one unit short.
        EXPECT_EQ(Convert(convert, "abc", 4), u"abc");
        EXPECT_EQ(Convert(convert, "abc", 3), u"refused");
        EXPECT_EQ(Convert(convert, "a\xF0\x9F\x8E\xAE", 4), u"a\U0001F3AE");
        EXPECT_EQ(Convert(convert, "a\xF0\x9F\x8E\xAE", 3), u"refused");
        EXPECT_EQ(convert("abc", nullptr, 8), 0);
        EXPECT_EQ(Convert(convert, nullptr), u"refused");
        // Not UTF-8: a stray continuation byte, a cut sequence, an over-long
        // slash, a surrogate, beyond U+10FFFF, a byte no lead can be.
        for (const char* bad : {"a\x80", "a\xC3", "\xE2\x82", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                                "\xF4\x90\x80\x80", "\xFC\x84\x80\x80\x80\x80", "\xF8\x88\x80\x80\x80"}) {
            EXPECT_EQ(Convert(convert, bad), u"refused") << bad;
        }
    }
}

}  // namespace
}  // namespace Keyweave
