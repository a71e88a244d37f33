// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tavolen {

// Calls `beat` on a thread of its own every `interval` until destroyed: a
// stream that says it is still there while a model thinks in silence, a
// watch that stops a blocked transfer once it is cancelled.
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

} // namespace tavolen
