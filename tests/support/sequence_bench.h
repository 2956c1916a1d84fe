#pragma once
// A dispatcher on a manual clock that reports to a recording host: the bench
// for sequence timelines. Play a sequence, move time with
// `scheduler.AdvanceBy`, and read `host.Frames()` (see timeline.h).

#include <memory>

#include "base/log.h"
#include "dispatch/dispatcher.h"
#include "dispatch/scheduler.h"
#include "platform/platform.h"
#include "support/recording_host.h"

namespace Keyweave::Testing {

struct SequenceBench {
    static constexpr Millis kStart = 1000;  // away from zero, as a real tick count would be

    SequenceBench() {
        const HostCallbacks callbacks = host.Callbacks();
        host.Attach(log);
        dispatcher =
            std::make_unique<Dispatcher>(frame.data(), kTouchPointCount, callbacks.key, callbacks.keyContext,
                                         callbacks.touch, callbacks.touchContext, scheduler, 1920, 1080, log, *input);
        host.ClearRecords();  // the all-up frame of the construction
    }

    ManualClock clock{kStart};
    RecordingHost host{&clock};
    Log log;
    Scheduler scheduler{log, clock};
    TouchFrame frame{};
    std::unique_ptr<Platform::InputState> input = Platform::CreateRecordedInputState();
    std::unique_ptr<Dispatcher> dispatcher;
};

}  // namespace Keyweave::Testing
