// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/Selection.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

namespace tavolen::capture {

class SelectionView;

// One borderless window over the whole of one screen, above panels and
// full-screen windows (the window manager is bypassed), holding the screen's
// SelectionView.
class OverlayWindow final : public QWidget {
    Q_OBJECT
public:
    // `translucent`: let the desktop show through (a compositor is running);
    // otherwise the view paints the frozen screen itself.
    OverlayWindow(QScreen *screen, SelectionView *view, bool translucent);

    // Set by the overlay; forwards the outcome (with this window's screen).
    std::function<void(std::optional<Selection>)> onFinish;

    QScreen *overlayScreen() const { return m_screen; }
    SelectionView *view() const { return m_view; }
    bool isTranslucent() const { return testAttribute(Qt::WA_TranslucentBackground); }
    // Shows `view` instead of the current one, which is deleted: a window
    // kept hidden between selections is used again with its backing store.
    void setView(SelectionView *view);

    // Shows the window over its whole screen.
    void cover();

    // Takes the keyboard focus so that Esc reaches this window. The window
    // manager gives no focus to windows it does not manage, so the keyboard
    // is also grabbed, retried until the window is on screen.
    void takeKeyboard();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void adopt(SelectionView *view);
    void report(std::optional<Selection> outcome);

    QPointer<QScreen> m_screen;
    SelectionView *m_view;
    int m_grabAttempts = 0;
};

} // namespace tavolen::capture
