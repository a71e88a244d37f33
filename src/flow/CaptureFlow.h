// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/AnalysisService.h"
#include "capture/Capturer.h"
#include "capture/DemoSample.h"
#include "capture/Selection.h"
#include "panel/PanelPresenter.h"
#include "platform/ActiveWindow.h"

#include <QObject>

#include <optional>

namespace tavolen::platform {
class Clipboard;
class ScreenAccess;
class SoundPlayer;
} // namespace tavolen::platform

namespace tavolen {
class SettingsStore;
}

namespace tavolen::flow {
// The spine of a capture run: permission check, selection, capture, the
// analysis with its fallback, the panel's states, and the copy of the best
// reply. Every failure of a run ends here, as the panel's error state.
class CaptureFlow : public QObject {
    Q_OBJECT
public:
    // Everything the flow calls; each must outlive the flow. `demo` may be null.
    struct Collaborators {
        capture::Selector &overlay;
        capture::Capturer &capturer;
        api::AnalysisService &analysis;
        panel::PanelPresenter &panel;
        capture::DemoSampleSource *demo;
        platform::ScreenAccess &screenAccess;
        platform::ActiveWindow &activeWindow;
        platform::Clipboard &clipboard;
        platform::SoundPlayer &sound;
        SettingsStore &settings;
    };

    explicit CaptureFlow(Collaborators collaborators, QObject *parent = nullptr);

    // Starts an interactive run; without screen access shows the permission
    // state; does nothing while a run is in progress.
    void begin();
    // Analyses the built-in sample (no overlay, no capture).
    void demo();

    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // A run (or a cancelled selection) has ended and `running` is false again.
    void runFinished();

private:
    void onSelection(std::optional<capture::Selection> selection,
                     std::optional<platform::ActiveWindow::Id> previous);
    QCoro::Task<> captureRun(capture::Selection selection,
                             std::optional<platform::ActiveWindow::Id> previous);
    QCoro::Task<> demoRun();
    // nullopt on success; the failure's text otherwise.
    QCoro::Task<std::optional<QString>> analyzeAndShow(QByteArray jpeg, std::optional<QRectF> near);
    void handleResult(const protocol::AnalysisResult &result, bool writesReplies, std::optional<QRectF> near);
    void reactivate(std::optional<platform::ActiveWindow::Id> previous);
    void finishRun();

    Collaborators m_with;
    bool m_running = false;
};

} // namespace tavolen::flow
