// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelPresenter.h"

#include <QIODevice>

namespace tavolen::panel {

// Stands in for the result panel until it exists: every state becomes one
// compact JSON line, e.g. {"state":"loading","near":[x,y,w,h]}, written and
// flushed at once so that a script can follow a run as it happens.
class ConsolePanelPresenter final : public PanelPresenter {
public:
    // Writes to standard output unless another device is given.
    explicit ConsolePanelPresenter(QIODevice *out = nullptr);

    void show(const PanelState &state, std::optional<QRectF> near) override;
    void hide() override;

    // The line written for a state (without the newline).
    static QByteArray line(const PanelState &state, std::optional<QRectF> near);

private:
    void write(const QByteArray &line);

    QIODevice *m_out;
};

} // namespace tavolen::panel
