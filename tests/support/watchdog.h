#pragma once
// Ends the test program when a test has not finished within its limit, so a
// deadlock fails the run loudly instead of stalling it; `running`, when
// given, says what was still running.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace Keyweave::Testing {

class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit = std::chrono::seconds(30),
                      std::function<std::string()> running = nullptr)
        : thread_([this, limit, running] {
              std::unique_lock lock(mutex_);
              if (!finished_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "watchdog: the test did not finish within %lld s%s%s\n",
                               static_cast<long long>(limit.count()), running ? ": " : "",
                               running ? running().c_str() : "");
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        finished_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;  // guarded by mutex_
    std::thread thread_;
};

}  // namespace Keyweave::Testing
