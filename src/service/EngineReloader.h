// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/ConfigLoader.h"
#include "service/EngineSlot.h"

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace tavolen::service {

// Builds the engine afresh from the configuration as it is now (service.toml,
// model.toml, the key, the environment) and puts it in the slot; on any
// failure the slot keeps the engine it has. Lives on a thread running a Qt
// event loop (the main thread), where the keyring is read, so that the
// threads serving HTTP never wait for it.
class EngineReloader : public QObject {
public:
    // `load` reads the configuration; the key file is looked for in
    // `configDir`; `note` receives one line for each reload and warning.
    EngineReloader(EngineSlot &slot, std::function<ConfigLoad()> load, QString configDir,
                   std::function<void(const QString &)> note);

    // From any thread. `done` runs on this object's thread (at once, on the
    // calling one, once abandoned). Reloads asked for while one runs are
    // served together by the next, which reads the files as they are after
    // the running one began.
    void reload(ReloadDone done);
    // Answers every reload not yet done as failed, now and from now on, and
    // forgets a key read still waiting; for a service that is stopping, whose
    // event loop may never come back to the reloads it was asked for.
    void abandon();

private:
    void begin();
    void end(std::unique_ptr<Engine> engine, const QString &error);

    EngineSlot &m_slot;
    std::function<ConfigLoad()> m_load;
    QString m_configDir;
    std::function<void(const QString &)> m_note;
    std::vector<ReloadDone> m_running;
    bool m_busy = false;
    // Asked for from any thread, not yet begun.
    std::mutex m_mutex;
    std::vector<ReloadDone> m_waiting;
    bool m_abandoned = false;
    // Tells a late key read that its reload was abandoned.
    int m_round = 0;
};

} // namespace tavolen::service
