// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace tavolen::test {

// Ticks on the thread that creates it and remembers the longest time between
// two ticks: how long that thread's event loop was kept from running.
class EventLoopWatch {
public:
    EventLoopWatch()
    {
        m_since.start();
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_since.restart()); });
        m_timer.start(5);
    }
    std::chrono::milliseconds longestStall() const
    {
        return std::chrono::milliseconds(std::max(m_longest, m_since.elapsed()));
    }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

} // namespace tavolen::test
