// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/SurfaceWindow.h"

namespace tavolen::app {

class ToastView;

// The toast's own window: a surface window that is never given the focus.
class ToastWindow final : public ui::SurfaceWindow {
public:
    ToastWindow(ToastView *view, bool translucent);

    ToastView *view() const { return m_view; }
    // Places the capsule at `capsule` (global logical pixels), the window around it.
    void placeCapsule(QRectF capsule);

private:
    ToastView *m_view;
};

} // namespace tavolen::app
