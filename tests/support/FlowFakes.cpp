#include "support/FlowFakes.h"

#include <QGuiApplication>
#include <QSignalSpy>

#include <qcoro/qcorosignal.h>

namespace tavolen::test {

QCoro::Task<> passGate(QPointer<Gate> gate)
{
    if (gate && gate->closed)
        co_await qCoro(gate.data(), &Gate::opened);
}

void FakeSelector::begin(capture::SelectionCompletion completion)
{
    ++begins;
    if (m_completion)
        return;
    m_completion = std::move(completion);
}

void FakeSelector::complete(std::optional<capture::Selection> selection)
{
    auto completion = std::exchange(m_completion, {});
    if (completion)
        completion(std::move(selection));
}

QCoro::Task<capture::CaptureOutcome> FakeCapturer::capture(QRectF rect, QScreen *)
{
    rects.push_back(rect);
    co_await passGate(&gate);
    co_return answer;
}

QCoro::Task<api::AnalysisOutcome> FakeAnalysis::analyzeStream(QByteArray jpeg, QString,
                                                              api::PartialHandler onPartial)
{
    streamJpegs.push_back(jpeg);
    for (const auto &partial : partials)
        onPartial(partial);
    co_await passGate(&gate);
    co_return streamAnswer;
}

QCoro::Task<api::AnalysisOutcome> FakeAnalysis::analyze(QByteArray jpeg, QString uiLang)
{
    plainJpegs.push_back(jpeg);
    plainLangs.push_back(uiLang);
    co_return plainAnswer;
}

bool FlowRig::waitForFinish()
{
    if (!flow.isRunning())
        return true;
    QSignalSpy finished(&flow, &capture::CaptureFlow::runFinished);
    return finished.wait(5000);
}

bool FlowRig::runCapture(QRectF rect)
{
    flow.begin();
    if (!selector.selecting())
        return false;
    selector.complete(capture::Selection{rect, QGuiApplication::primaryScreen()});
    return waitForFinish();
}

bool FlowRig::runDemo()
{
    flow.demo();
    return waitForFinish();
}

} // namespace tavolen::test
