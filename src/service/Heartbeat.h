#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tavolen::service {

// Calls `beat` on a thread of its own every `interval` until destroyed. A
// stream uses it to send something while a model thinks in silence, so the
// app's idle limit is not reached and a client that left is noticed.
class Heartbeat {
public:
    Heartbeat(std::chrono::milliseconds interval, std::function<void()> beat);
    // Returns once no beat runs any more.
    ~Heartbeat();
    Heartbeat(const Heartbeat &) = delete;
    Heartbeat &operator=(const Heartbeat &) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace tavolen::service
