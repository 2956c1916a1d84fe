// The timeline recorder and its two printers, fed by hand: the JSON of each
// kind, the start, and trails. Which contact changes become events, how key
// bytes are named and what is kept while a keymap loads are seen in the
// golden play runs.

#include "timeline/timeline.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "pictures/trail_picture.h"
#include "timeline/timeline_printer.h"

namespace Keyweave::Tool {
namespace {

using Kind = TimelineEvent::Kind;

class Timeline : public ::testing::Test {
protected:
    Timeline() {
        callbacks_ = recorder_.Callbacks();
        recorder_.Start();
    }

    ManualClock clock_{5000};
    TimelineRecorder recorder_{clock_, 5000};
    HostCallbacks callbacks_;
};

// The text of every kind is in the golden play runs; the JSON of most is not.
TEST_F(Timeline, EveryOtherKindAsJson) {
    recorder_.NoteInput(4, "press \"W\"");
    callbacks_.sensor(callbacks_.sensorContext, 0.0f, 0.5f, 0.8660254f);
    callbacks_.summary(callbacks_.summaryContext, "Racing|Package=x");
    callbacks_.notice(callbacks_.noticeContext, 2, 1, "Xbox");
    callbacks_.passThrough(callbacks_.passThroughContext);
    recorder_.SetShootingAnswer(0);
    EXPECT_EQ(callbacks_.shooting(callbacks_.shootingContext, 3), 0);
    callbacks_.logSink(callbacks_.logContext, "Cannot\tdo \"that\" \xFF");  // not UTF-8
    std::vector<std::string> json;
    for (const TimelineEvent& event : recorder_.Events()) json.push_back(EventJson(event));
    EXPECT_EQ(json, (std::vector<std::string>{
                        R"({"time":0,"event":"input","line":4,"text":"press \"W\""})",
                        R"({"time":0,"event":"sensor","x":0.0,"y":0.5,"z":0.866})",
                        R"({"time":0,"event":"summary","text":"Racing|Package=x"})",
                        R"({"time":0,"event":"notice","pad":2,"notice":1,"layout":"Xbox"})",
                        R"({"time":0,"event":"pass-through"})",
                        R"({"time":0,"event":"shooting","code":3,"answer":0})",
                        R"({"time":0,"event":"log","text":"Cannot\tdo \"that\" �"})",
                    }));
}

TEST(TimelineStart, NothingBeforeStartButTheContactsAreFollowed) {
    ManualClock clock{0};
    TimelineRecorder recorder{clock, 0};
    const HostCallbacks callbacks = recorder.Callbacks();
    std::array<KeyweaveTouchPoint, 16> frame{};
    frame[1] = {0.5f, 0.5f, 1};
    callbacks.touch(callbacks.touchContext, frame.data(), 16, 0);
    callbacks.logSink(callbacks.logContext, "Initializing Keyweave");
    recorder.Start();
    callbacks.touch(callbacks.touchContext, frame.data(), 16, 0);  // the same frame again: no change
    EXPECT_TRUE(recorder.Events().empty());
}

TEST(Trails, EachTouchFromDownToUpInTheOrderFingersTouched) {
    const auto touch = [](int64_t time, int32_t slot, float x, float y, bool down, bool wasDown) {
        TimelineEvent event;
        event.kind = Kind::kTouch;
        event.time = time;
        event.slot = slot;
        event.x = x;
        event.y = y;
        event.down = down;
        event.wasDown = wasDown;
        return event;
    };
    const std::vector<TimelineEvent> events = {
        touch(0, 15, 0.2f, 0.7f, true, false),  touch(10, 15, 0.2f, 0.6f, true, true),
        touch(20, 0, 0.5f, 0.5f, true, false),  touch(30, 0, 0.5f, 0.5f, false, true),
        touch(40, 3, 0.9f, 0.9f, false, false),  // a lifted contact moving: no finger
        touch(50, 0, 0.1f, 0.1f, true, false),   // the slot touches again: a new trail
    };
    const std::vector<Trail> trails = CollectTrails(events);
    ASSERT_EQ(trails.size(), 3u);
    EXPECT_EQ(trails[0].slot, 15);
    EXPECT_EQ(trails[0].points.size(), 2u);
    EXPECT_FALSE(trails[0].lifted);
    EXPECT_EQ(trails[1].slot, 0);
    EXPECT_TRUE(trails[1].lifted);
    EXPECT_EQ(trails[1].points.back().time, 30);
    EXPECT_EQ(trails[2].slot, 0);
    EXPECT_EQ(trails[2].points.front().time, 50);
}

}  // namespace
}  // namespace Keyweave::Tool
