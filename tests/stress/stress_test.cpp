// The engine under load from several host threads at once, on its own threads
// (the scheduler thread and a tick thread per pad), for a bounded time:
//  - an input thread sends keys the active keymap binds, mouse messages and
//    typed characters;
//  - a pad thread attaches pads, sends them reports and detaches them;
//  - a reload thread loads the example keymaps one after another;
//  - a gesture thread plays emulated swipes and pinches, which block it;
//  - a thread of other calls goes through every call a host may make while a
//    load runs: locale, location query, mapping state, raw forwarding, both
//    knob setters, shake, scroll and zoom.
// The host's contract says key, mouse and character input never overlaps a
// keymap load; one lock around those two groups keeps that promise here, and
// nothing else is serialised. No call may take kCallLimit or longer; a
// watchdog ends the process, naming the calls still running, when the run
// has not finished well after its time. When the threads have stopped, the pads are
// detached and the queue has run dry, the slot invariants must hold, and a
// last load must give every slot back.
//
// Run it under ThreadSanitizer to find races; it runs KEYWEAVE_STRESS_SECONDS
// seconds (2 when unset, so ordinary runs stay quick).
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "dispatch/scheduler.h"
#include "engine/engine.h"
#include "engine_invariants.h"
#include "support/watchdog.h"

namespace Keyweave {
namespace {

using SteadyClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kCallLimit = 5s;

WideString SourceFile(const std::string& relative) { return ToWide(std::string(KEYWEAVE_SOURCE_DIR) + "/" + relative); }

// A host that counts what it receives and checks each touch report's shape.
struct CountingHost {
    std::atomic<uint64_t> frames{0};
    std::atomic<uint64_t> badFrames{0};
    std::atomic<uint64_t> keyBytes{0};
    std::atomic<uint64_t> logLines{0};

    HostCallbacks Callbacks() {
        HostCallbacks callbacks;
        callbacks.key = [](void* self, uint8_t) { ++static_cast<CountingHost*>(self)->keyBytes; };
        callbacks.keyContext = this;
        callbacks.touch = [](void* self, const KeyweaveTouchPoint* points, uint32_t count, uint32_t) {
            auto& host = *static_cast<CountingHost*>(self);
            ++host.frames;
            if (points == nullptr || count == 0 || count > kTouchPointCount) ++host.badFrames;
        };
        callbacks.touchContext = this;
        callbacks.logSink = [](void* self, const char*) { ++static_cast<CountingHost*>(self)->logLines; };
        callbacks.logContext = this;
        return callbacks;
    }
};

// Each thread announces its calls here, for the watchdog's message and the
// figures at the end.
struct Calls {
    std::atomic<const char*> current{nullptr};  // null between calls
    std::atomic<uint64_t> count{0};
    std::atomic<int64_t> longest{0};  // nanoseconds

    // Runs `body` as one announced call.
    template <typename Body>
    void Run(const char* name, Body&& body) {
        current.store(name);
        const auto start = SteadyClock::now();
        body();
        const int64_t took = std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now() - start).count();
        current.store(nullptr);
        ++count;
        if (took > longest.load()) longest.store(took);
    }
};

std::chrono::seconds StressDuration() {
    const char* text = std::getenv("KEYWEAVE_STRESS_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 0;
    return std::chrono::seconds(seconds > 0 ? seconds : 2);
}

// Waits on the real scheduler thread until the queue is empty and the task
// that ran last has finished: a marker posted behind everything has run.
class MarkerTask final : public Scheduler::Task {
public:
    explicit MarkerTask(std::atomic<bool>& ran) : ran_(ran) {}
    void Run() override { ran_.store(true); }

private:
    std::atomic<bool>& ran_;
};

bool WaitUntilIdle(Scheduler& scheduler, SteadyClock::duration limit) {
    const auto deadline = SteadyClock::now() + limit;
    while (SteadyClock::now() < deadline) {
        if (scheduler.QueuedCount() == 0) {
            std::atomic<bool> ran{false};
            scheduler.Post(std::make_unique<MarkerTask>(ran), 0);
            while (!ran.load() && SteadyClock::now() < deadline) std::this_thread::sleep_for(1ms);
            if (ran.load() && scheduler.QueuedCount() == 0) return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST(EngineStressTest, HostThreadsAtOnceLeaveNoRaceNoHangAndEverySlotAccountedFor) {
    const std::vector<WideString> keymaps = {
        SourceFile("examples/com.example.arena.cfg"), SourceFile("examples/com.example.platformer.cfg"),
        SourceFile("examples/com.example.racer.cfg"), SourceFile("examples/com.example.shooter.cfg"),
        SourceFile("docs/images/direction-pad.cfg"),  SourceFile("docs/images/gamepad.cfg"),
        SourceFile("docs/images/mouse-aim.cfg"),      SourceFile("docs/images/shooting.cfg"),
    };
    const WideString database = SourceFile("examples/gamepads.db");

    CountingHost host;
    EngineSettings settings;
    settings.defaultConfigPath = keymaps.front();
    settings.screenWidth = 1920;
    settings.screenHeight = 1080;
    Engine engine(host.Callbacks(), settings, EngineOptions{nullptr, true});
    engine.LoadConfig(keymaps[0].c_str(), keymaps[0].c_str(), "com.example.arena");

    std::mutex inputOrLoad;                // the host's promise: input and loads never overlap
    std::atomic<bool> loadWaiting{false};  // input stands back while a load waits for the lock
    Calls input, pads, reloads, gestures, others;
    const Calls* const workers[] = {&input, &pads, &reloads, &gestures, &others};
    const char* const names[] = {"input", "pad", "reload", "gesture", "other"};
    // A hung engine cannot be unwound: the watchdog ends the process with the
    // calls that have not returned. A call that stalls and returns fails below.
    const Testing::Watchdog watchdog(
        std::chrono::duration_cast<std::chrono::seconds>(StressDuration() + 2 * kCallLimit), [&] {
            std::string running;
            for (size_t i = 0; i < std::size(workers); ++i) {
                if (const char* call = workers[i]->current.load()) running += std::string(names[i]) + " " + call + "; ";
            }
            return running;
        });
    const auto until = SteadyClock::now() + StressDuration();

    std::thread inputThread([&] {
        std::mt19937 random(1);
        constexpr int32_t kMouseMessages[] = {512, 512, 512, 513, 514, 516, 517};
        while (SteadyClock::now() < until) {
            while (loadWaiting.load()) std::this_thread::yield();
            std::lock_guard guard(inputOrLoad);
            std::vector<uint32_t> keys = {0x39, 0x11, 256, 258};
            for (const auto& [keySet, actions] : engine.config().mKeyRules)
                keys.insert(keys.end(), keySet.begin(), keySet.end());
            const uint32_t key = keys[random() % keys.size()];
            input.Run("HandleKey", [&] { engine.HandleKey(key, random() % 2 == 0); });
            const float x = static_cast<float>(random() % 1000) / 1000.0f;
            const float y = static_cast<float>(random() % 1000) / 1000.0f;
            const int32_t message = kMouseMessages[random() % std::size(kMouseMessages)];
            input.Run("UpdateMouseStatus", [&] { engine.UpdateMouseStatus(x, y, message, 0); });
            input.Run("HandleCharacter", [&] { engine.HandleCharacter(static_cast<char>('a' + random() % 26)); });
        }
    });

    std::thread padThread([&] {
        std::mt19937 random(2);
        constexpr uint32_t kPads[][2] = {{0x045e, 0x028e}, {0x054c, 0x05c4}, {0x0079, 0x0011}, {0x1234, 0x5678}};
        constexpr int32_t kAxes[] = {0, 0, 1000, -1000, 600, -600, 300};
        while (SteadyClock::now() < until) {
            const int32_t id = static_cast<int32_t>(random() % 2);
            const auto& pad = kPads[random() % std::size(kPads)];
            pads.Run("AttachGamePad", [&] { engine.AttachGamePad(id, pad[0], pad[1], database.c_str()); });
            for (int report = 0; report < 20; ++report) {
                GamePad::Report values{};
                values.x = kAxes[random() % std::size(kAxes)];
                values.y = kAxes[random() % std::size(kAxes)];
                values.rx = kAxes[random() % std::size(kAxes)];
                values.ry = kAxes[random() % std::size(kAxes)];
                values.z = kAxes[random() % std::size(kAxes)];
                const int32_t direction = static_cast<int32_t>(random() % 9);
                values.hat = direction == 8 ? -1 : direction * 45;  // -1: centred
                values.buttons = static_cast<int32_t>(random() % 0x1000);
                pads.Run("UpdateGamePad", [&] { engine.UpdateGamePad(id, &values); });
                std::this_thread::sleep_for(2ms);  // a pad reports a few hundred times a second
            }
            pads.Run("DetachGamePad", [&] { engine.DetachGamePad(id); });
        }
    });

    std::thread reloadThread([&] {
        size_t next = 1;
        while (SteadyClock::now() < until) {
            {
                loadWaiting.store(true);
                std::lock_guard guard(inputOrLoad);
                loadWaiting.store(false);
                const WideString& path = keymaps[next++ % keymaps.size()];
                reloads.Run("LoadConfig", [&] { engine.LoadConfig(path.c_str(), path.c_str(), "com.example.stress"); });
            }
            std::this_thread::sleep_for(20ms);  // let input run on each keymap for a while
        }
    });

    std::thread gestureThread([&] {
        std::mt19937 random(3);
        while (SteadyClock::now() < until) {
            const float x = 0.2f + static_cast<float>(random() % 600) / 1000.0f;
            const float y = 0.2f + static_cast<float>(random() % 600) / 1000.0f;
            switch (random() % 3) {
                case 0:
                    gestures.Run("EmulateSwipe",
                                 [&] { engine.EmulateSwipe(x, y, static_cast<int32_t>(1 + random() % 4)); });
                    break;
                case 1:
                    gestures.Run("EmulateSwipeXY", [&] { engine.EmulateSwipeXY(x, y, y, x); });
                    break;
                default:
                    gestures.Run("EmulatePinch",
                                 [&] { engine.EmulatePinch(x, y, static_cast<int32_t>(random() % 2)); });
                    break;
            }
        }
    });

    // Every call the host may make while another thread loads a keymap, in
    // turn, each a watched call; the gestures always end.
    std::thread othersThread([&] {
        std::mt19937 random(4);
        constexpr const char* kLocales[] = {"fr-FR", "en_US", "", "DE-de"};
        const auto fraction = [&] { return 0.2f + static_cast<float>(random() % 600) / 1000.0f; };
        while (SteadyClock::now() < until) {
            others.Run("SetLocale", [&] { engine.SetLocale(kLocales[random() % std::size(kLocales)]); });
            others.Run("IsLocationUpdationWithKeyMapEnabled", [&] { engine.IsLocationUpdationWithKeyMapEnabled(); });
            others.Run("SetKeyMappingState", [&] { engine.SetKeyMappingState(random() % 4 == 0 ? 0 : 1); });
            others.Run("SetForwardRawKeys", [&] { engine.SetForwardRawKeys(random() % 2 == 0); });
            others.Run("SetEmulatedSwipeKnobs", [&] {
                engine.SetEmulatedSwipeKnobs(fraction() / 2, static_cast<uint32_t>(20 + random() % 100));
            });
            others.Run("SetEmulatedPinchKnobs", [&] {
                engine.SetEmulatedPinchKnobs(fraction() / 2, fraction() / 4, fraction() / 4,
                                             static_cast<int32_t>(20 + random() % 100));
            });
            others.Run("HandleShake", [&] { engine.HandleShake(fraction(), -1.0f, 9.8f); });
            GestureController& gestures = engine.gestures();
            others.Run("ScrollBegin", [&] { gestures.ScrollBegin(fraction(), fraction()); });
            others.Run("ScrollUpdate", [&] { gestures.ScrollUpdate(0.01f, -0.02f); });
            others.Run("ScrollEnd", [&] { gestures.ScrollEnd(); });
            others.Run("ZoomBegin", [&] { gestures.ZoomBegin(fraction(), fraction()); });
            others.Run("ZoomUpdate", [&] { gestures.ZoomUpdate(1.2f); });
            others.Run("ZoomEnd", [&] { gestures.ZoomEnd(); });
            std::this_thread::sleep_for(1ms);
        }
    });

    inputThread.join();
    padThread.join();
    reloadThread.join();
    gestureThread.join();
    othersThread.join();

    for (size_t i = 0; i < std::size(workers); ++i) {
        std::printf("%s thread: %llu calls, the longest %lld ms\n", names[i],
                    static_cast<unsigned long long>(workers[i]->count.load()),
                    static_cast<long long>(workers[i]->longest.load() / 1000000));
        EXPECT_LT(workers[i]->longest.load(), std::chrono::nanoseconds(kCallLimit).count())
            << "a call of the " << names[i] << " thread stalled";
    }
    std::printf(
        "host: %llu frames, %llu key bytes, %llu log lines\n", static_cast<unsigned long long>(host.frames.load()),
        static_cast<unsigned long long>(host.keyBytes.load()), static_cast<unsigned long long>(host.logLines.load()));
    for (const Calls* worker : workers) EXPECT_GT(worker->count.load(), 0u);
    EXPECT_GT(host.frames.load(), 0u);
    EXPECT_EQ(host.badFrames.load(), 0u);

    // Quiet again: no pad ticking, nothing queued or running.
    engine.DetachGamePad(0);
    engine.DetachGamePad(1);
    ASSERT_TRUE(WaitUntilIdle(engine.scheduler(), kCallLimit))
        << engine.scheduler().QueuedCount() << " tasks still queued";
    EXPECT_EQ(Fuzz::CheckSlotAccounting(engine), "");
    engine.LoadConfig(keymaps[0].c_str(), keymaps[0].c_str(), "com.example.arena");
    EXPECT_EQ(Fuzz::CheckFreshPool(engine), "");
}

}  // namespace
}  // namespace Keyweave
