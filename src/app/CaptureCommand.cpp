#include "app/CaptureCommand.h"

#include "app/CaptureStack.h"
#include "panel/ConsolePanelPresenter.h"

#include <QCoreApplication>
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

int runCaptureCommand()
{
    RecordingPresenter presenter;
    CaptureStack stack(presenter);
    capture::CaptureFlow &flow = stack.flow();
    QObject::connect(&flow, &capture::CaptureFlow::runFinished, qApp,
                     [&presenter] { QCoreApplication::exit(presenter.exitCode()); });
    QTimer::singleShot(0, &flow, [&flow, &presenter] {
        flow.begin();
        // Without permission the flow shows that state and never starts a run.
        if (!flow.isRunning())
            QCoreApplication::exit(presenter.exitCode());
    });
    return QCoreApplication::exec();
}

} // namespace tavolen::app
