// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Heartbeat.h"

namespace tavolen {

Heartbeat::Heartbeat(std::chrono::milliseconds interval, std::function<void()> beat)
    : m_thread([this, interval, beat = std::move(beat)] {
          std::unique_lock lock(m_mutex);
          while (!m_wake.wait_for(lock, interval, [this] { return m_stopping; })) {
              lock.unlock();
              beat();
              lock.lock();
          }
      })
{}

Heartbeat::~Heartbeat()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

} // namespace tavolen
