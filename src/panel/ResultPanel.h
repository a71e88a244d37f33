// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/KeyboardReturn.h"
#include "panel/PanelActions.h"
#include "panel/PanelPlacement.h"
#include "panel/PanelPresenter.h"

#include "ui/Glass.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tavolen::platform {
class FloatingWindows;
}

namespace tavolen::panel {

class PanelWindow;

// When a finished result folds into the pill, and when the pill goes.
struct PanelTimings {
    std::chrono::milliseconds collapseAfterResult{10'000};
    std::chrono::milliseconds collapseAfterLeave{6'000};
    std::chrono::milliseconds collapseAfterExpand{8'000};
    std::chrono::milliseconds dismissPill{60'000};
};

// The one floating panel of the process: shows each state beside the
// selection, folds a finished result into a pill after a while and lets
// the pill go later. The capture flow is its only caller.
class ResultPanel final : public QObject, public PanelPresenter {
    Q_OBJECT
public:
    using Timings = PanelTimings;
    enum class Mode { Hidden, Full, Pill };

    // `system.copy` and `system.requestAccess` reach the clipboard and the
    // platform; the panel fills in the rest. `windows` must outlive the panel.
    ResultPanel(platform::FloatingWindows &windows, PanelActions system, Timings timings = {},
                QObject *parent = nullptr);
    ~ResultPanel() override;

    void show(const PanelState &state, std::optional<QRectF> near) override;
    void hide() override;

    Mode mode() const { return m_mode; }
    // The window (null while hidden) and what it shows now.
    QWidget *window() const;
    QWidget *content() const;
    const QTimer &collapseTimer() const { return m_collapseTimer; }
    const QTimer &dismissTimer() const { return m_dismissTimer; }
    // Where placement reads the screens; the real ones unless replaced.
    void setScreenSource(std::function<ScreenLayout()> source) { m_screens = std::move(source); }
    // Where a clicked card hands the keyboard back when it folds or goes;
    // without it the window manager decides. Must outlive the panel.
    void setFocusReturn(platform::ActiveWindow *windows) { m_keyboard.setWindows(windows); }

Q_SIGNALS:
    // The panel went from shown to hidden (closed, dismissed or replaced by a new capture).
    void closed();

private:
    void render(QWidget *content, Mode mode);
    QRectF cardFor(QWidget *content);
    void remeasure();
    void updateBlur();
    void scheduleCollapse(std::chrono::milliseconds after);
    void cancelTimers();
    void collapse();
    void expand();
    void renderFull(const PanelState &state, bool entrance);
    void renderPill();
    void reword();
    PanelActions actions(void (ResultPanel::*onHover)(bool), std::shared_ptr<QPointer<QWidget>> shown);
    void hover(bool inside, void (ResultPanel::*onHover)(bool));
    void hoverFull(bool inside);
    void hoverPill(bool inside);
    void ensureWindow();
    ui::Backdrop backdrop() const;

    platform::FloatingWindows &m_windows;
    PanelActions m_system;
    Timings m_timings;
    std::function<ScreenLayout()> m_screens = currentScreens;
    std::unique_ptr<PanelWindow> m_window;
    Mode m_mode = Mode::Hidden;
    std::optional<QRectF> m_anchor;
    // Where this run's card stays, decided when it is first shown beside
    // the selection (see cardFor).
    std::optional<CardAnchor> m_held;
    std::optional<protocol::AnalysisResult> m_lastResult;
    bool m_lastEngineWritesReplies = true;
    // What the full card shows now, to word it again in another language.
    std::optional<PanelState> m_fullState;
    QTimer m_collapseTimer;
    QTimer m_dismissTimer;
    bool m_wasStreaming = false;
    bool m_pointerInsideAtShow = false;
    KeyboardReturn m_keyboard;
};

} // namespace tavolen::panel
