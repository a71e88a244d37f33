// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tavolen::service {

// A fixed number of threads for the work that blocks for seconds (text
// recognition, an engine's call), so that the threads owning the sockets
// never do. Jobs wait their turn in order.
class WorkerPool {
public:
    explicit WorkerPool(int threads);
    // Runs every job already posted, then joins the threads.
    ~WorkerPool();
    WorkerPool(const WorkerPool &) = delete;
    WorkerPool &operator=(const WorkerPool &) = delete;

    void post(std::function<void()> job);
    // Jobs posted and not yet started.
    std::size_t waiting() const;

private:
    void run();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace tavolen::service
