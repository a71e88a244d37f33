// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/EngineReloader.h"

#include "service/EngineFactory.h"

#include <QPointer>

namespace tavolen::service {

EngineReloader::EngineReloader(EngineSlot &slot, std::function<ConfigLoad()> load, QString configDir,
                               std::function<void(const QString &)> note)
    : m_slot(slot), m_load(std::move(load)), m_configDir(std::move(configDir)), m_note(std::move(note))
{}

namespace {

ReloadOutcome stopping(const EngineSlot &slot)
{
    return {slot.current(), QStringLiteral("the service is stopping")};
}

} // namespace

void EngineReloader::reload(ReloadDone done)
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_abandoned) {
            m_waiting.push_back(std::move(done));
            done = nullptr;
        }
    }
    if (done)
        return done(stopping(m_slot));
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_busy)
                begin();
        },
        Qt::QueuedConnection);
}

void EngineReloader::begin()
{
    {
        const std::lock_guard lock(m_mutex);
        m_running = std::exchange(m_waiting, {});
    }
    if (m_running.empty())
        return;
    m_busy = true;
    const int round = ++m_round;
    const ConfigLoad load = m_load();
    for (const QString &w : load.warnings)
        m_note(QStringLiteral("warning: %1").arg(w));
    if (!load.errors.isEmpty())
        return end(nullptr, load.errors.join(QStringLiteral("; ")));
    QPointer<EngineReloader> alive(this);
    buildEngine(load.config, m_configDir,
                [this, alive, round](std::unique_ptr<Engine> engine, const QString &error) {
                    if (alive && round == m_round && m_busy)
                        end(std::move(engine), error);
                });
}

void EngineReloader::end(std::unique_ptr<Engine> engine, const QString &error)
{
    ReloadOutcome outcome;
    if (engine) {
        m_slot.replace(std::move(engine));
        m_note(QStringLiteral("reloaded: engine %1").arg(m_slot.current()->name()));
    } else {
        outcome.error = error;
        m_note(QStringLiteral("reload failed, engine %1 kept: %2").arg(m_slot.current()->name(), error));
    }
    outcome.engine = m_slot.current();
    m_busy = false;
    for (const ReloadDone &done : std::exchange(m_running, {}))
        done(outcome);
    // Asked for while this one ran: the files may have changed since it read them.
    begin();
}

void EngineReloader::abandon()
{
    std::vector<ReloadDone> waiting;
    {
        const std::lock_guard lock(m_mutex);
        m_abandoned = true;
        waiting = std::exchange(m_waiting, {});
    }
    ++m_round;
    m_busy = false;
    const ReloadOutcome outcome = stopping(m_slot);
    for (const ReloadDone &done : std::exchange(m_running, {}))
        done(outcome);
    for (const ReloadDone &done : waiting)
        done(outcome);
}

} // namespace tavolen::service
