// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CaptureCommand.h"

#include "app/CaptureStack.h"
#include "app/SingleInstance.h"
#include "panel/ConsolePanelPresenter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

namespace tavolen::app {

namespace {

constexpr int kExitResult = 0;
constexpr int kExitError = 1;
constexpr int kExitCancelled = 3;

// Prints like the console presenter and remembers how the run ended.
class RecordingPresenter final : public panel::PanelPresenter {
public:
    void show(const panel::PanelState &state, std::optional<QRectF> near) override
    {
        m_console.show(state, near);
        m_last = state.contentView();
    }
    void hide() override
    {
        m_console.hide();
        m_last.reset();
    }

    int exitCode() const
    {
        if (!m_last)
            return kExitCancelled;
        return *m_last == panel::PanelState::ContentView::Result ? kExitResult : kExitError;
    }

private:
    panel::ConsolePanelPresenter m_console;
    std::optional<panel::PanelState::ContentView> m_last;
};

} // namespace

int runCaptureCommand(SettingsStore &settings)
{
    // The running app captures, so that it owns the panel and the copied reply.
    if (SingleInstance::send(SingleInstance::Request::Capture))
        return 0;
    RecordingPresenter presenter;
    CaptureStack stack(settings, nullptr, &presenter);
    flow::CaptureFlow &flow = stack.flow();
    panel::ResultPanel &resultPanel = *stack.resultPanel();
    // Without a display nobody can read or close the panel, so nothing is waited for.
    const QString platform = QGuiApplication::platformName();
    const bool panelIsSeen = platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
    // Ends once the run is over and the panel has gone.
    const auto exitWhenDone = [&, panelIsSeen] {
        if (!flow.isRunning() && (!panelIsSeen || resultPanel.mode() == panel::ResultPanel::Mode::Hidden))
            QCoreApplication::exit(presenter.exitCode());
    };
    QObject::connect(&flow, &flow::CaptureFlow::runFinished, qApp, exitWhenDone);
    QObject::connect(&resultPanel, &panel::ResultPanel::closed, qApp, exitWhenDone);
    QTimer::singleShot(0, &flow, [&flow, exitWhenDone] {
        flow.begin();
        // Without permission the flow shows that state and never starts a run.
        exitWhenDone();
    });
    return QCoreApplication::exec();
}

} // namespace tavolen::app
