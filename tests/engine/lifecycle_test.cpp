// Start-up and keymap loading as the host sees them: frames, vectors, the
// summary and the exact log lines of the fallback chain. What a reload tears
// down, the gesture settings and the locale's labels across loads are the
// golden run tests/timelines/reload.play.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "codes/key_names.h"
#include "engine/engine.h"
#include "support/recording_host.h"
#include "support/scratch_dir.h"

namespace Keyweave {
namespace {

using Testing::ManualEngine;
using Testing::ScratchDir;
using Lines = std::vector<std::string>;

std::string Utf8(const WideString& path) { return ToUtf8(path); }

// The lines from the first one equal to `first` on (empty when absent).
Lines From(const Lines& lines, const std::string& first) {
    auto it = std::find(lines.begin(), lines.end(), first);
    return Lines(it, lines.end());
}

bool Contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(LifecycleTest, StartUpReportsAnAllUpFrameAndALevelDeviceInOrder) {
    ManualEngine fixture;
    EXPECT_EQ(fixture.host.Logs(),
              (Lines{"Initializing Keyweave", "Keyweave::Scheduler::Start()", "Keyweave::Accelerometer::Reset()"}));
    const auto frames = fixture.host.Frames();
    ASSERT_EQ(frames.size(), 1u);
    ASSERT_EQ(frames[0].points.size(), 16u);
    for (const auto& point : frames[0].points) EXPECT_EQ(point.down, 0u);
    const auto sensors = fixture.host.Sensors();
    ASSERT_EQ(sensors.size(), 1u);
    EXPECT_EQ(sensors[0].z, 1.0f);
    EXPECT_TRUE(fixture.engine->config().mKeyRules.empty());
    EXPECT_TRUE(fixture.host.Summaries().empty());
    EXPECT_TRUE(fixture.engine->scheduler().Manual());
}

TEST(LifecycleTest, SwitchesVersionAndFinalizeAsTheHostSeesThem) {
    ManualEngine fixture;
    Engine& engine = *fixture.engine;
    fixture.host.ClearRecords();
    EXPECT_EQ(engine.ParserVersion(), 4);
    engine.Finalize();
    EXPECT_EQ(fixture.host.Logs(), (Lines{"At the start of getparserversion function", "Finalizing Keyweave"}));
    // Only state 1 means mapping on.
    EXPECT_TRUE(engine.KeyMappingOn());
    for (const auto& [state, on] : {std::pair{2, false}, {0, false}, {1, true}}) {
        engine.SetKeyMappingState(state);
        EXPECT_EQ(engine.KeyMappingOn(), on) << state;
    }
    EXPECT_TRUE(engine.ForwardRawKeys());
    engine.SetForwardRawKeys(false);
    EXPECT_FALSE(engine.ForwardRawKeys());
}

TEST(LifecycleTest, AThreadedEngineStopsCleanly) {
    Testing::RecordingHost host;
    {
        Engine engine(host.Callbacks(), ManualEngine::DefaultSettings());
        EXPECT_FALSE(engine.scheduler().Manual());
    }
    EXPECT_TRUE(host.HasLog("Initializing Keyweave"));
}

class LoadTest : public ::testing::Test {
protected:
    LoadTest() : fixture(Settings()) {}
    EngineSettings Settings() {
        EngineSettings settings = ManualEngine::DefaultSettings();
        settings.defaultConfigPath = dir.PathOf("default.cfg");
        return settings;
    }
    int32_t Load(const WideString& second, const WideString& primary, const char* package) {
        fixture.host.ClearRecords();
        return fixture.engine->LoadConfig(second.c_str(), primary.c_str(), package);
    }
    Engine& engine() { return *fixture.engine; }

    ScratchDir dir;
    ManualEngine fixture;
};

TEST_F(LoadTest, ThePrimaryKeymapLoadsAndTheHostGetsOneSummary) {
    const WideString primary = dir.Write("com.game.cfg", "[keys]\nA,Ctrl = Tap (50,50)\n");
    EXPECT_EQ(Load(dir.PathOf("other.cfg"), primary, "com.game"), 0);
    const Lines logs = fixture.host.Logs();
    EXPECT_EQ(logs.front(), "Loading config at " + Utf8(primary));
    EXPECT_EQ(From(logs, "Config for package "),
              (Lines{"Config for package ", "Keys:", "    Ctrl,A", "        Tap (0.50,0.50)"}));
    EXPECT_EQ(fixture.host.Summaries(), Lines{"Default|Package=com.game"});
    EXPECT_EQ(engine().config().Package(), "com.game");
    EXPECT_FALSE(engine().config().IsDefault());
    EXPECT_EQ(engine().config().GetActions({29, 30}).size(), 1u);
}

// The host's observer gets the load with its file, then each key's record
// with the rule's key set: a combination names both of its keys.
TEST_F(LoadTest, TheHostObserverGetsTheLoadAndTheKeysOfEachRule) {
    struct Seen {
        std::string reason, file;
        uint32_t keys[2], section, line;
    };
    std::vector<Seen> seen;
    engine().SetHostDecisionObserver(
        [](void* context, const KeyweaveDecision* d) {
            static_cast<std::vector<Seen>*>(context)->push_back(
                {d->reasonName, d->file != nullptr ? d->file : "", {d->keys[0], d->keys[1]}, d->section, d->line});
        },
        &seen);
    const WideString primary = dir.Write("com.game.cfg", "[keys]\nA,Ctrl = Tap (50,50)\nCtrl = Tap (10,10)\n");
    Load(primary, primary, "com.game");
    engine().HandleKey(kKeyCtrl, true);
    engine().HandleKey(30, true);  // A
    engine().AdvanceBy(500);
    Lines reasons;
    for (const Seen& record : seen) reasons.push_back(record.reason);
    ASSERT_EQ(reasons, (Lines{"keymap-loaded", "held-back", "played", "combined", "played"}));
    EXPECT_EQ(seen[0].file, Utf8(primary));
    const auto keys = [&](size_t i) { return std::vector<uint32_t>(seen[i].keys, seen[i].keys + 2); };
    EXPECT_EQ(keys(2), (std::vector<uint32_t>{kKeyCtrl, 0u}));
    EXPECT_EQ(seen[2].line, 3u);
    EXPECT_EQ(keys(3), (std::vector<uint32_t>{kKeyCtrl, 30u}));
    EXPECT_EQ(seen[3].section, 2u);
    EXPECT_EQ(seen[3].line, 2u);
}

TEST_F(LoadTest, TheWildCardOfThePrimaryComesSecond) {
    const WideString primary = dir.PathOf("com.game.lite.cfg");
    const WideString wildCard = dir.Write("com.game.cfg", "[keys]\nSpace = Tap (10,20)\n");
    Load(dir.PathOf("second.cfg"), primary, "com.game.lite");
    const Lines logs = fixture.host.Logs();
    const Lines expected{
        "Loading config at " + Utf8(primary),
        "Keyweave::Accelerometer::Reset()",  // the old keymap's tear-down
        "Cannot open configuration file " + Utf8(primary),
        "Loading wild card config at " + Utf8(primary),
        "wild card .lite",
        "new path " + Utf8(wildCard),
    };
    ASSERT_GE(logs.size(), expected.size());
    EXPECT_EQ(Lines(logs.begin(), logs.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_TRUE(Contains(logs, "Config for package "));
    EXPECT_EQ(engine().config().GetActions(57).size(), 1u);
    EXPECT_FALSE(engine().config().IsDefault());
}

TEST_F(LoadTest, TheSecondPathAndItsWildCardFollow) {
    const WideString primary = dir.PathOf("missing.cfg");
    const WideString second = dir.PathOf("com.app.free.cfg");
    dir.Write("com.app.cfg", "[keys]\nEnter = Tap (1,2)\n");
    Load(second, primary, "com.app.free");
    const Lines logs = fixture.host.Logs();
    EXPECT_TRUE(Contains(logs, "Loading config at " + Utf8(second)));
    EXPECT_TRUE(Contains(logs, "Loading wild card config at " + Utf8(second)));
    EXPECT_TRUE(Contains(logs, "wild card (null)")) << "the primary's name has no inner dot";
    EXPECT_EQ(engine().config().GetActions(28).size(), 1u);
}

TEST_F(LoadTest, TheDefaultKeymapIsMarkedDefault) {
    dir.Write("default.cfg", "[keys]\nTab = Tap (5,5)\n");
    Load(dir.PathOf("a.cfg"), dir.PathOf("b.cfg"), "pkg");
    EXPECT_TRUE(Contains(fixture.host.Logs(), "Cannot load config, loading default config"));
    EXPECT_TRUE(engine().config().IsDefault());
    EXPECT_EQ(engine().config().GetActions(15).size(), 1u);
    EXPECT_EQ(fixture.host.Summaries(), Lines{"Default|Package=pkg"});
}

TEST_F(LoadTest, WithNothingToLoadAnEmptyDefaultIsActiveAndTheSummaryStillComes) {
    EXPECT_EQ(Load(dir.PathOf("a.cfg"), dir.PathOf("b.cfg"), "pkg"), 0);
    const Lines logs = fixture.host.Logs();
    EXPECT_EQ(logs.back(), "Cannot load default config " + Utf8(dir.PathOf("default.cfg")));
    EXPECT_TRUE(engine().config().IsDefault());
    EXPECT_TRUE(engine().config().mKeyRules.empty());
    EXPECT_EQ(fixture.host.Summaries(), Lines{"Default|Package=pkg"});
}

TEST_F(LoadTest, ACustomScreenCentreReachesTheDispatcherAndStays) {
    const WideString centred = dir.Write("centre.cfg", "# SCREEN_CENTER_CUSTOM(40,60,10)\n");
    Load(centred, centred, "a");
    ScreenCentreReference reference = engine().dispatcher().ScreenCentre();
    EXPECT_FLOAT_EQ(reference.point.x, 0.4f);
    EXPECT_FLOAT_EQ(reference.point.y, 0.6f);
    const WideString plain = dir.Write("plain.cfg", "[keys]\n");
    Load(plain, plain, "b");
    reference = engine().dispatcher().ScreenCentre();
    EXPECT_FLOAT_EQ(reference.point.x, 0.4f) << "a keymap without one keeps the previous centre";
}

TEST_F(LoadTest, NonAsciiPathsLoad) {
    const WideString path =
        dir.Write("\xC3\xA9t\xC3\xA9/\xE6\xB8\xB8\xE6\x88\x8F.cfg", "[keys]\nSpace = Tap (50,50)\n");
    Load(path, path, "jeu");
    EXPECT_EQ(fixture.host.Logs().front(), "Loading config at " + Utf8(path));
    EXPECT_FALSE(engine().config().IsDefault());
    EXPECT_EQ(engine().config().GetActions(57).size(), 1u);
}

TEST_F(LoadTest, LocationUpdationFollowsTheKeymap) {
    fixture.host.ClearRecords();
    EXPECT_EQ(engine().IsLocationUpdationWithKeyMapEnabled(), 0);
    const WideString path = dir.Write("loc.cfg", "# ENABLE_LOCATION_UPDATION_WITH_KEYMAP\n");
    Load(path, path, "a");
    EXPECT_EQ(engine().IsLocationUpdationWithKeyMapEnabled(), 1);
    EXPECT_TRUE(fixture.host.HasLog("location updation enabled"));
}

// The calls a host may make while another thread loads a keymap, made here
// from inside the load itself (the log callback, while the new keymap is
// being read): the old keymap's answer, and a locale for the next load.
TEST(LoadOverlapTest, QueriesAndTheLocaleWhileTheNewKeymapIsReadSeeTheOldKeymap) {
    struct Host {
        Engine* engine = nullptr;
        std::vector<int32_t> answers;
        static void Log(void* self, const char* line) {
            auto& host = *static_cast<Host*>(self);
            if (host.engine == nullptr || !std::string(line).starts_with("Keyweave::Config::Parser::")) return;
            host.answers.push_back(host.engine->IsLocationUpdationWithKeyMapEnabled());
            host.engine->SetLocale("fr-FR");
        }
    } host;
    HostCallbacks callbacks;
    callbacks.logSink = &Host::Log;
    callbacks.logContext = &host;
    ManualClock clock{1000};
    Engine engine(callbacks, ManualEngine::DefaultSettings(), EngineOptions{&clock, true});
    host.engine = &engine;
    ScratchDir dir;
    const WideString located = dir.Write("located.cfg", "# ENABLE_LOCATION_UPDATION_WITH_KEYMAP\n[keys]\nA = Tap\n");
    const WideString plain = dir.Write("plain.cfg", "[keys]\nA = Tap\n");
    engine.LoadConfig(located.c_str(), located.c_str(), "a");
    EXPECT_EQ(host.answers, std::vector<int32_t>{0}) << "the empty keymap's answer";
    host.answers.clear();
    engine.LoadConfig(plain.c_str(), plain.c_str(), "b");
    EXPECT_EQ(host.answers, std::vector<int32_t>{1}) << "the located keymap's answer";
    EXPECT_EQ(engine.IsLocationUpdationWithKeyMapEnabled(), 0) << "and the new one's after the load";
    EXPECT_EQ(engine.Locale(), "fr_fr");
}

// The log lines of the path rewriting are checked with the loads above.
TEST(WildCardTest, DropsTheLastDottedPartOfTheName) {
    ManualEngine fixture;
    Engine& engine = *fixture.engine;
    auto wildCard = [&](const std::string& path) { return ToUtf8(engine.WildCardConfigPath(ToWide(path).c_str())); };
    const std::pair<std::string, std::string> kPaths[] = {
        {"C:\\maps\\com.game.lite.cfg", "C:\\maps\\com.game.cfg"},
        {"C:\\my.maps\\game.cfg", "C:\\my.cfg"},
        {"a.b.c.cfg", "a.b.cfg"},
        {"C:\\maps\\game.cfg", "C:\\maps\\game.cfg"},  // no inner dot: the path itself
        {"a.b", "a.b"},
        {"", ""},
        // Cut to 1023 characters first, so the only dot left is the first one.
        {"x." + std::string(2000, 'y') + ".z.cfg", "x.cfg"},
    };
    for (const auto& [path, expected] : kPaths) EXPECT_EQ(wildCard(path), expected) << path;
    const WideString plain = ToWide("C:\\maps\\game.cfg");
    EXPECT_EQ(engine.WildCardConfigPath(plain.c_str()), plain.c_str()) << "no dot: the argument itself";
    const WideString lite = ToWide("C:\\maps\\com.game.lite.cfg");
    const WideChar* first = engine.WildCardConfigPath(lite.c_str());
    EXPECT_EQ(engine.WildCardConfigPath(lite.c_str()), first) << "the same path gives the same string";
}

}  // namespace
}  // namespace Keyweave
