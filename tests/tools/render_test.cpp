// keyweave render: the picture reads back as XML and holds one element for
// every binding of the keymap, labelled with its keys; keyweave play's trail
// picture holds one trail per touch. The faults of its arguments are golden
// runs.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "codes/control_names.h"
#include "codes/key_names.h"
#include "keymap/keymap_load.h"
#include "pictures/svg_writer.h"
#include "tool_fixture.h"
#include "xml_reader.h"

namespace Keyweave::Testing {
namespace {

// The labels of every binding of a keymap, worked out from the loaded
// configuration: one per action of each key rule, per [gamepad2] rule, per
// [gamepad] key rule, for the tilting left stick and per controller button.
std::vector<std::string> ExpectedBindingKeys(const Config& config) {
    std::vector<std::string> keys;
    for (const auto& [keySet, actions] : config.mKeyRules) {
        std::string label;
        for (const uint32_t code : keySet) {
            if (!label.empty()) label += '+';
            label += KeyNameOf(code);
        }
        for (size_t i = 0; i < actions.size(); ++i) keys.push_back(label);
    }
    for (const auto& entry : config.mGamePadActions)
        keys.push_back(std::string("Pad ") + GamePad::ControlNameOf(entry.first));
    for (const auto& entry : config.mGamePadKeys)
        keys.push_back(std::string("Pad ") + GamePad::ControlNameOf(entry.first));
    if (config.mGamePadTilt) keys.push_back("Pad LeftStick");
    for (const auto& entry : config.mControllerKeys) {
        const char code = static_cast<char>(entry.first);
        keys.push_back(code == 'u'   ? "Controller Up"
                       : code == 'd' ? "Controller Down"
                       : code == 'l' ? "Controller Left"
                       : code == 'r' ? "Controller Right"
                                     : std::string("Controller ") + code);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

class RenderCommand : public ToolTest {
protected:
    // Renders `keymap` and reads the picture back.
    std::unique_ptr<XmlElement> Render(const std::string& keymap, std::vector<std::string> extra = {}) {
        const std::string svg = Path("out.svg");
        std::vector<std::string> words = {"render", keymap, "--svg", svg};
        words.insert(words.end(), extra.begin(), extra.end());
        const ToolRun run = RunTool(words);
        EXPECT_EQ(run.status, 0) << run.err;
        std::string error;
        auto root = ReadXml(Read(svg), error);
        EXPECT_TRUE(root) << error;
        return root;
    }

    static std::vector<const XmlElement*> Bindings(const XmlElement& root) {
        std::vector<const XmlElement*> bindings;
        for (const XmlElement* group : root.Descendants("g")) {
            if (group->Attribute("class") == "binding") bindings.push_back(group);
        }
        return bindings;
    }

    static std::vector<std::string> KeysOf(const std::vector<const XmlElement*>& bindings) {
        std::vector<std::string> keys;
        for (const XmlElement* binding : bindings) keys.push_back(binding->Attribute("data-keys"));
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    static const XmlElement* Find(const std::vector<const XmlElement*>& bindings, const std::string& keys) {
        for (const XmlElement* binding : bindings) {
            if (binding->Attribute("data-keys") == keys) return binding;
        }
        return nullptr;
    }
};

constexpr const char* kEveryKind =
    "# ENABLE_SHOOTING_MODE\n"
    "# SCREEN_CENTER_CUSTOM(50,50,2)\n"
    "[keys]\n"
    "1 = Key Enter\n"
    "2 = Tap (10,10)\n"
    "3 = Swipe Up (20,50)\n"
    "4 = SwipeXY (10,10,20,20)\n"
    "5 = SwipeTrace (10,10,20,20,30,10)\n"
    "W = SwipeHold Up (15,70,8)\n"
    "S = SwipeHold Down (15,70,8)\n"
    "Q = Tilt Absolute (10,0) Return\n"
    "E = Tilt Relative (0,5)\n"
    "M = MouseSwipe (30,70,10)\n"
    "H = MouseHold (40,40,60,60)\n"
    "T = TapSwipe (70,80,9)\n"
    "Y = TapTap (40,50,60,50)\n"
    "U = TapSwipeClick (85,75,12)\n"
    "I = TouchMove (50,40)\n"
    "O = TapCancel (95,10)\n"
    "P = ShootMove (50,50,30)\n"
    "X = SuspendShoot\n"
    "Z = TapMacros (30,40,100,60,40,100,2)\n"
    "Ctrl,A = Tap (5,5)\n"
    "< = Tap (40,90)\n"
    "MouseMove = Tap (62,45)\n"
    "LeftClick = Tap (84,70)\n"
    "[gamepad]\n"
    "A = Space\n"
    "LeftStick = Tilt\n"
    "[gamepad2]\n"
    "RightStick = TouchMove (50,50,50)\n"
    "LeftStick = SwipeHold (20,70,10,50)\n"
    "B = TapStick (80,50,10,20)\n"
    "Y = Tap (90,90)\n"
    "[opensensor]\n"
    "Up = Space Jump & run\n"
    "Area1 = (0,0,30,30) <zone>\n";

TEST_F(RenderCommand, EveryKindOfBindingHasItsElementWithItsKeysAndKind) {
    const std::string keymap = Write("every.cfg", kEveryKind);
    const auto root = Render(keymap);
    ASSERT_TRUE(root);
    EXPECT_EQ(root->name, "svg");
    const auto bindings = Bindings(*root);

    const Tool::LoadedKeymap loaded = Tool::LoadKeymap(keymap, "");
    ASSERT_TRUE(loaded.Rejections().empty());
    const std::vector<std::string> expected = ExpectedBindingKeys(*loaded.config);
    EXPECT_EQ(expected.size(), 31u);  // 24 key rules, 4 game-pad actions, a pad key, the tilt, a button
    EXPECT_EQ(KeysOf(bindings), expected);

    const std::pair<const char*, const char*> kinds[] = {
        {"1", "Key"},
        {"2", "Tap"},
        {"3", "Swipe"},
        {"4", "SwipeXY"},
        {"5", "SwipeTrace"},
        {"W", "SwipeHold"},
        {"Q", "AbsoluteTilt"},
        {"E", "RelativeTilt"},
        {"M", "MouseSwipe"},
        {"H", "MouseHold"},
        {"T", "TapSwipe"},
        {"Y", "TapTap"},
        {"U", "TapSwipeClick"},
        {"I", "TouchMove"},
        {"O", "TapCancel"},
        {"P", "ShootMove"},
        {"X", "SuspendShoot"},
        {"Z", "TapsMacro"},
        {"Ctrl+A", "Tap"},
        {"<", "Tap"},
        {"RightClick", "ShootMode"},  // made by the shooting mode from the MouseMove and LeftClick taps
        {"Pad RightStick", "StickMove"},
        {"Pad LeftStick", "StickHold"},
        {"Pad B", "TapStick"},
        {"Pad Y", "Tap"},
        {"Pad A", "PadKey"},
        {"Controller Up", "ControllerButton"},
    };
    for (const auto& [keys, kind] : kinds) {
        const XmlElement* binding = Find(bindings, keys);
        ASSERT_NE(binding, nullptr) << keys;
        EXPECT_EQ(binding->Attribute("data-action"), kind) << keys;
        // Every binding says what it is in its tooltip.
        const auto titles = binding->Descendants("title");
        ASSERT_EQ(titles.size(), 1u) << keys;
        EXPECT_EQ(titles[0]->text.rfind(std::string(keys) + ": ", 0), 0u) << titles[0]->text;
    }
    // Shapes on the screen are drawn; keys sent and tilts are legend lines.
    EXPECT_FALSE(Find(bindings, "2")->Descendants("circle").empty());
    EXPECT_FALSE(Find(bindings, "3")->Descendants("line").empty());
    EXPECT_FALSE(Find(bindings, "5")->Descendants("polyline").empty());
    EXPECT_FALSE(Find(bindings, "H")->Descendants("rect").empty());
    EXPECT_FALSE(Find(bindings, "M")->Descendants("ellipse").empty());
    EXPECT_EQ(Find(bindings, "Z")->Descendants("circle").size(), 2u);  // one circle per place tapped
    EXPECT_EQ(Find(bindings, "1")->Descendants("text")[0]->text, "1: key Enter");
    EXPECT_EQ(Find(bindings, "Q")->Descendants("text")[0]->text,
              "Q: tilt to pitch 10, roll 0 degrees, level again on release");
    EXPECT_EQ(Find(bindings, "Controller Up")->Descendants("text")[0]->text,
              "Controller Up: key Space, labelled \"Jump & run\"");
}

TEST_F(RenderCommand, DecorationsAreDrawnOnceAndTextReadsBackUnchanged) {
    const auto root = Render(Write("every.cfg", kEveryKind));
    ASSERT_TRUE(root);
    int pads = 0, areas = 0, centres = 0;
    std::string areaLabel;
    for (const XmlElement* group : root->Descendants("g")) {
        const std::string kind = group->Attribute("class");
        pads += kind == "dpad";
        centres += kind == "screen-centre";
        if (kind == "area") {
            ++areas;
            areaLabel = group->Descendants("text")[0]->text;
        }
    }
    EXPECT_EQ(pads, 1);  // W and S share one pad
    EXPECT_EQ(centres, 1);
    EXPECT_EQ(areas, 1);
    EXPECT_EQ(areaLabel, "Area1: <zone>");
}

// A screenshot is embedded whole, under the bindings, over the screen.
TEST_F(RenderCommand, BackgroundScreenshotIsEmbeddedUnderTheBindings) {
    const std::string keymap = Write("one.cfg", "[keys]\nA = Tap (50,50)\n");
    const std::string png("\x89PNG\r\n\x1a\n\0\xff", 10);
    const auto root = Render(keymap, {"--screen", "800x400", "--background", Write("shot.png", png)});
    ASSERT_TRUE(root);
    const auto images = root->Descendants("image");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0]->Attribute("href"), "data:image/png;base64,iVBORw0KGgoA/w==");
    EXPECT_EQ(images[0]->Attribute("width"), "800");
    EXPECT_EQ(images[0]->Attribute("height"), "400");
    const std::string svg = Read(Path("out.svg"));
    EXPECT_LT(svg.find("<image"), svg.find("class=\"binding\""));
}

TEST_F(RenderCommand, ThePlayTrailPictureHasOneTrailPerTouch) {
    const std::string svg = Path("trails.svg");
    const ToolRun run = RunTool({"play", Write("game.cfg", "[keys]\nA = Tap (50,80)\nB = Swipe Up (20,50)\n"),
                                 Write("game.play", "tap A\nwait 100\ntap B\nwait 200\npress A\n"), "--svg", svg,
                                 "--screen", "800x600"});
    EXPECT_EQ(run.status, 0) << run.err;
    std::string error;
    const auto root = ReadXml(Read(svg), error);
    ASSERT_TRUE(root) << error;
    std::vector<std::string> trails;
    int legends = 0;  // the marks are explained once, under the screen
    for (const XmlElement* group : root->Descendants("g")) {
        legends += group->Attribute("class") == "legend" ? 1 : 0;
        if (group->Attribute("class") != "trail") continue;
        trails.push_back(group->Attribute("data-slot") + " " + group->Attribute("data-from") + "-" +
                         group->Attribute("data-to"));
    }
    EXPECT_EQ(trails, (std::vector<std::string>{"0 0-0", "0 100-172", "0 300-held"}));
    EXPECT_EQ(legends, 1);
}

// Coordinates are written to hundredths as "%.2f" rounds the binary value:
// ties to even, no "-0", whole numbers without a point.
TEST(SvgNumbers, RoundToHundredthsAsPrintfDoes) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {12.5, "12.5"},
        {0.125, "0.12"},
        {0.375, "0.38"},
        {-0.125, "-0.12"},
        {-0.004, "0"},
        {-0.006, "-0.01"},
        {2.675, "2.67"},
        {99.995, "100"},
        {1080.0, "1080"},
        {-3.14159, "-3.14"},
        {1e17, "100000000000000000"},
        {NAN, "0"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(Tool::SvgNumber(value), text) << value;
}

}  // namespace
}  // namespace Keyweave::Testing
