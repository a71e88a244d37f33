// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <mutex>

namespace tavolen::service {

// The engine new requests are served by. Each request takes the engine at
// its start and holds it to its end, so a reload swaps the engine under
// nobody: readings already running finish on the old one, which goes when
// the last of them is done.
class EngineSlot {
public:
    explicit EngineSlot(std::shared_ptr<Engine> engine) : m_engine(std::move(engine)) {}

    std::shared_ptr<Engine> current() const
    {
        const std::lock_guard lock(m_mutex);
        return m_engine;
    }
    void replace(std::shared_ptr<Engine> engine)
    {
        std::shared_ptr<Engine> old;
        {
            const std::lock_guard lock(m_mutex);
            old = std::exchange(m_engine, std::move(engine));
        }
        // `old` may be the last hold on it: it ends here, outside the lock.
    }

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<Engine> m_engine;
};

// What a reload came to: the engine serving now, and why it is still the old
// one (empty when the new one took over).
struct ReloadOutcome {
    std::shared_ptr<Engine> engine;
    QString error;
};
using ReloadDone = std::function<void(const ReloadOutcome &)>;

// The engine as the health check and a reload describe it, as the members of
// a JSON object: "engine", "model", "base_url" (null for an engine that asks
// no model) and "replies".
QByteArray engineFields(const Engine &engine);

} // namespace tavolen::service
