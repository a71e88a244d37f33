#pragma once

#include "api/AnalysisService.h"
#include "capture/CaptureFlow.h"
#include "panel/PanelPresenter.h"
#include "platform/ActiveWindow.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Pasteboard.h"
#include "platform/ScreenAccess.h"
#include "platform/SoundPlayer.h"

#include <QObject>

#include <deque>
#include <vector>

namespace tavolen::test {

// Holds a fake's answer until the test opens it, so a run can be caught in
// the middle.
class Gate : public QObject {
    Q_OBJECT
public:
    bool closed = false;
    void open()
    {
        closed = false;
        Q_EMIT opened();
    }
Q_SIGNALS:
    void opened();
};

QCoro::Task<> passGate(QPointer<Gate> gate);

class FakeSelector final : public capture::Selector {
public:
    void begin(capture::SelectionCompletion completion) override;
    // Ends the selection in progress as the overlay would.
    void complete(std::optional<capture::Selection> selection);
    bool selecting() const { return bool(m_completion); }
    int begins = 0;

private:
    capture::SelectionCompletion m_completion;
};

class FakeCapturer final : public capture::ScreenCapturer {
public:
    QCoro::Task<capture::CaptureOutcome> capture(QRectF rect, QScreen *screen) override;
    capture::CaptureOutcome answer = QByteArray("jpeg-bytes");
    std::vector<QRectF> rects;
    Gate gate;
};

class FakeAnalysis final : public api::AnalysisService {
public:
    void warmUp() override { ++warmUps; }
    QCoro::Task<api::AnalysisOutcome> analyzeStream(QByteArray jpeg, QString uiLang,
                                                    api::PartialHandler onPartial) override;
    QCoro::Task<api::AnalysisOutcome> analyze(QByteArray jpeg, QString uiLang) override;

    std::vector<api::StreamPartial> partials;
    api::AnalysisOutcome streamAnswer = api::AnalysisError(api::APIClientError::decode());
    api::AnalysisOutcome plainAnswer = api::AnalysisError(api::APIClientError::decode());
    int warmUps = 0;
    std::vector<QByteArray> streamJpegs;
    std::vector<QByteArray> plainJpegs;
    std::vector<QString> plainLangs;
    Gate gate;
};

class RecordingPanel final : public panel::PanelPresenter {
public:
    struct Shown {
        panel::PanelState state;
        std::optional<QRectF> near;
    };
    void show(const panel::PanelState &state, std::optional<QRectF> near) override
    {
        shown.push_back({state, near});
    }
    void hide() override { ++hides; }
    std::vector<Shown> shown;
    int hides = 0;
};

class FakeScreenAccess final : public platform::ScreenAccess {
public:
    bool isPermitted() const override { return permitted; }
    void request() override { ++requests; }
    bool permitted = true;
    int requests = 0;
};

class FakeActiveWindow final : public platform::ActiveWindow {
public:
    std::optional<Id> current() const override { return front; }
    void activate(Id window) override { activated.push_back(window); }
    std::optional<Id> front = 42;
    std::vector<Id> activated;
};

class FakePasteboard final : public platform::Pasteboard {
public:
    void replaceWithText(const QString &text, const QString &markerType) override
    {
        texts.push_back(text);
        marker = markerType;
    }
    std::vector<QString> texts;
    QString marker;
};

class FakeSound final : public platform::SoundPlayer {
public:
    void playEvent(const QString &eventId, double volumeDb) override
    {
        events.push_back(eventId);
        lastVolumeDb = volumeDb;
    }
    std::vector<QString> events;
    double lastVolumeDb = 0;
};

class FakeDemo final : public capture::DemoSampleSource {
public:
    std::optional<QByteArray> jpeg() override { return sample; }
    std::optional<QByteArray> sample = QByteArray("demo-jpeg");
};

// A capture flow wired to fakes of everything it calls.
struct FlowRig {
    FakeSelector selector;
    FakeCapturer capturer;
    FakeAnalysis analysis;
    RecordingPanel panel;
    FakeDemo demo;
    FakeScreenAccess access;
    FakeActiveWindow activeWindow;
    FakePasteboard pasteboard;
    FakeSound sound;
    platform::MemorySettingsStore settings;
    capture::CaptureFlow flow{
        {selector, capturer, analysis, panel, &demo, access, activeWindow, pasteboard, sound, settings}};

    // Runs begin() with a selection and waits until the run has finished.
    bool runCapture(QRectF rect = QRectF(10, 20, 300, 200));
    bool runDemo();
    bool waitForFinish();
};

} // namespace tavolen::test
