// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"
#include "service/ReadingGuard.h"

#include <mutex>
#include <optional>
#include <vector>

namespace tavolen::service {

// The early fields of an engine that was asked before the picture's text
// was read. A risk field cannot go out until the phrase lists have set its
// floor, so it waits here; the other fields go out cleaned at once. Fields
// and the floor may come from two threads.
class FloorGate {
public:
    explicit FloorGate(FieldSink out);

    // One early field from the engine.
    void pass(const protocol::FieldEvent &event);
    // The picture's text has been read: sets the floor from it and sends
    // the risk fields that waited for it, in the order they came.
    void floorKnown(const QString &capturedText, const QString &uiLanguage);
    // The guard built by floorKnown, for the finished reading; call it only
    // after floorKnown has returned.
    const ReadingGuard &guard() const { return *m_guard; }

private:
    std::mutex m_mutex;
    const FieldSink m_out;
    std::optional<ReadingGuard> m_guard;
    std::vector<protocol::FieldEvent> m_waiting;
};

} // namespace tavolen::service
