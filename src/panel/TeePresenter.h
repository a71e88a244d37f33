// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelPresenter.h"

namespace tavolen::panel {

// Hands every state to a panel and to an observer (which, for example,
// prints it), in that order. Both must outlive the tee.
class TeePresenter final : public PanelPresenter {
public:
    TeePresenter(PanelPresenter &panel, PanelPresenter &observer) : m_panel(panel), m_observer(observer) {}

    void show(const PanelState &state, std::optional<QRectF> near) override
    {
        m_panel.show(state, near);
        m_observer.show(state, near);
    }
    void hide() override
    {
        m_panel.hide();
        m_observer.hide();
    }

private:
    PanelPresenter &m_panel;
    PanelPresenter &m_observer;
};

} // namespace tavolen::panel
