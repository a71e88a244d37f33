// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/AnalysisService.h"
#include "core/MemorySettingsStore.h"
#include "flow/CaptureFlow.h"
#include "panel/PanelPresenter.h"
#include "platform/ActiveWindow.h"
#include "platform/Clipboard.h"
#include "platform/ScreenAccess.h"
#include "platform/ScreenGrabber.h"
#include "platform/SoundPlayer.h"

#include <QGuiApplication>
#include <QObject>
#include <QSignalSpy>
#include <QThread>

#include <qcoro/qcorosignal.h>

#include <atomic>
#include <chrono>
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
    QCoro::Task<> pass()
    {
        if (closed)
            co_await qCoro(this, &Gate::opened);
    }
Q_SIGNALS:
    void opened();
};

struct FakeSelector final : capture::Selector {
    void begin(capture::SelectionCompletion completion) override
    {
        ++begins;
        if (!m_completion)
            m_completion = std::move(completion);
    }
    // Ends the selection in progress as the overlay would.
    void complete(std::optional<capture::Selection> selection)
    {
        if (auto completion = std::exchange(m_completion, {}))
            completion(std::move(selection));
    }
    bool selecting() const { return bool(m_completion); }
    int begins = 0;

private:
    capture::SelectionCompletion m_completion;
};

struct FakeCapturer final : capture::Capturer {
    QCoro::Task<capture::CaptureOutcome> capture(capture::Selection selection) override
    {
        rects.push_back(selection.rect);
        co_await gate.pass();
        co_return answer;
    }
    capture::CaptureOutcome answer = QByteArray("jpeg-bytes");
    std::vector<QRectF> rects;
    Gate gate;
};

struct FakeAnalysis final : api::AnalysisService {
    void warmUp() override { ++warmUps; }
    QCoro::Task<api::AnalysisOutcome> analyzeStream(QByteArray jpeg, QString,
                                                    api::PartialHandler onPartial) override
    {
        streamJpegs.push_back(jpeg);
        for (const auto &partial : partials)
            onPartial(partial);
        co_await gate.pass();
        co_return streamAnswer;
    }
    QCoro::Task<api::AnalysisOutcome> analyze(QByteArray jpeg, QString) override
    {
        plainJpegs.push_back(jpeg);
        co_return api::AnalysisError(api::APIClientError::decode());
    }

    std::vector<protocol::StreamPartial> partials;
    api::AnalysisOutcome streamAnswer = api::AnalysisError(api::APIClientError::decode());
    int warmUps = 0;
    std::vector<QByteArray> streamJpegs;
    std::vector<QByteArray> plainJpegs;
    Gate gate;
};

struct RecordingPanel final : panel::PanelPresenter {
    struct Shown {
        panel::PanelState state;
        std::optional<QRectF> near;
    };
    void show(const panel::PanelState &state, std::optional<QRectF> near) override
    {
        shown.push_back({state, near});
    }
    void hide() override { ++hides; }

    std::vector<panel::PanelState::ContentView> views() const
    {
        std::vector<panel::PanelState::ContentView> out;
        for (const auto &s : shown)
            out.push_back(s.state.contentView());
        return out;
    }
    QString lastError() const
    {
        const QString *message = shown.empty() ? nullptr : shown.back().state.errorMessage();
        return message ? *message : QStringLiteral("(no error)");
    }

    std::vector<Shown> shown;
    int hides = 0;
};

struct FakeScreenAccess final : platform::ScreenAccess {
    bool isPermitted() const override { return permitted; }
    void request() override { ++requests; }
    bool permitted = true;
    int requests = 0;
};

struct FakeActiveWindow final : platform::ActiveWindow {
    std::optional<Id> current() const override { return front; }
    void activate(Id window) override { activated.push_back(window); }
    std::optional<Id> front = 42;
    std::vector<Id> activated;
};

struct FakeClipboard final : platform::Clipboard {
    void replaceWithText(const QString &text, const QList<platform::ClipboardMarker> &markers) override
    {
        texts.push_back(text);
        this->markers = markers;
    }
    std::vector<QString> texts;
    QList<platform::ClipboardMarker> markers;
};

struct FakeSound final : platform::SoundPlayer {
    void playEvent(const QString &eventId, double) override { events.push_back(eventId); }
    std::vector<QString> events;
};

// A screen whose every grab is one flat colour, for the real capture; records
// what it is asked for and can be slow or refuse.
struct FakeGrabber final : platform::ScreenGrabber {
    ~FakeGrabber() override { destroyedWhilePreparing = preparing.load(); }
    std::optional<QImage> grab(QRect nativeRect) override
    {
        requested.push_back(nativeRect);
        QThread::msleep(grabTime.count());
        if (refuse)
            return std::nullopt;
        last = QImage(nativeRect.size(), QImage::Format_RGB32);
        last.fill(QColor(200, 30, 40));
        return last;
    }
    void prepare() override
    {
        preparing = true;
        QThread::msleep(300);
        preparing = false;
    }
    bool translucencyShowsDesktop() const override { return true; }

    std::chrono::milliseconds grabTime{0};
    bool refuse = false;
    std::vector<QRect> requested;
    QImage last; // shares its pixels with the grab handed out until that is released
    std::atomic<bool> preparing = false;
    inline static bool destroyedWhilePreparing = false;
};

struct FakeDemo final : capture::DemoSampleSource {
    std::optional<QByteArray> jpeg() override { return sample; }
    std::optional<QByteArray> sample = QByteArray("demo-jpeg");
};

// A capture flow wired to fakes of everything it calls, or to a real
// analysis service or capture in their place.
struct FlowRig {
    explicit FlowRig(api::AnalysisService *service = nullptr, capture::Capturer *realCapture = nullptr)
        : usedAnalysis(service ? *service : analysis), usedCapture(realCapture ? *realCapture : capturer),
          flow(wiredTo(selector))
    {}

    // What the rig's flow is wired to, with `overlay` taking the selections;
    // for a flow of the test's own.
    flow::CaptureFlow::Collaborators wiredTo(capture::Selector &overlay)
    {
        return {.overlay = overlay,
                .capturer = usedCapture,
                .analysis = usedAnalysis,
                .panel = panel,
                .demo = &demo,
                .screenAccess = access,
                .activeWindow = activeWindow,
                .clipboard = clipboard,
                .sound = sound,
                .settings = settings};
    }

    // Runs begin() with a selection and waits until the run has finished.
    bool runCapture(QRectF rect = QRectF(10, 20, 300, 200))
    {
        flow.begin();
        if (!selector.selecting())
            return false;
        selector.complete(capture::Selection{rect, QGuiApplication::primaryScreen()});
        return waitForFinish();
    }
    bool runDemo()
    {
        flow.demo();
        return waitForFinish();
    }
    bool waitForFinish()
    {
        QSignalSpy finished(&flow, &flow::CaptureFlow::runFinished);
        return !flow.isRunning() || finished.wait(10000);
    }

    FakeSelector selector;
    FakeCapturer capturer;
    FakeAnalysis analysis;
    RecordingPanel panel;
    FakeDemo demo;
    FakeScreenAccess access;
    FakeActiveWindow activeWindow;
    FakeClipboard clipboard;
    FakeSound sound;
    MemorySettingsStore settings;
    api::AnalysisService &usedAnalysis;
    capture::Capturer &usedCapture;
    flow::CaptureFlow flow;
};

} // namespace tavolen::test
