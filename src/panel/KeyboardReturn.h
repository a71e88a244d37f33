// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ActiveWindow.h"

#include <optional>

class QWidget;

namespace tavolen::panel {

// A click gives the card the keyboard; a card that folds or goes hands it
// back to where the user was typing, or typing would go nowhere. This is
// the window to hand it back to, and the way there.
class KeyboardReturn {
public:
    // Without windows nothing is handed back and the window manager decides.
    void setWindows(platform::ActiveWindow *windows) { m_windows = windows; }
    // The pointer came onto `own`, so a click may take the keyboard from
    // whichever window has it now: remember that one.
    void remember(const QWidget &own);
    // If `own` has the keyboard, hands it back; forgets the window either way.
    void giveBack(const QWidget &own);

private:
    platform::ActiveWindow *m_windows = nullptr;
    std::optional<platform::ActiveWindow::Id> m_before;
};

} // namespace tavolen::panel
