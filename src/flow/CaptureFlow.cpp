// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flow/CaptureFlow.h"

#include "capture/CopyToClipboard.h"
#include "capture/TavolenSound.h"
#include "core/Log.h"
#include "flow/ErrorTexts.h"
#include "platform/ScreenAccess.h"
#include "protocol/Endpoints.h"

#include <QPointer>

#include <qcoro/qcorotimer.h>

#include <chrono>

namespace tavolen::flow {

using namespace std::chrono_literals;
using capture::Selection;

namespace {

// The overlay windows are closed when the selection arrives, but the display
// server and compositor need a moment to repaint what they covered. A still
// needs no such wait: it is what the user selected from.
constexpr auto kSettleDelay = 80ms;

bool shouldCopy(const protocol::AnalysisResult &r)
{
    return r.respondable.value_or(true) && r.best_reply && !r.best_reply->isEmpty();
}

} // namespace

CaptureFlow::CaptureFlow(Collaborators collaborators, QObject *parent)
    : QObject(parent), m_with(collaborators)
{}

void CaptureFlow::begin()
{
    if (m_running)
        return;
    if (!m_with.screenAccess.isPermitted()) {
        qCInfo(lcFlow) << "screen capture not permitted: the panel asks for it";
        // running stays false, so the next press checks again.
        m_with.screenAccess.request();
        m_with.panel.show(panel::PanelState::permission(), std::nullopt);
        return;
    }
    m_running = true;
    qCInfo(lcFlow) << "capture run: selecting";
    m_with.panel.hide();
    m_with.analysis.warmUp();
    const auto previous = m_with.activeWindow.current();

    QPointer<CaptureFlow> self(this);
    m_with.overlay.begin([self, previous](std::optional<Selection> selection) {
        if (self)
            self->onSelection(std::move(selection), previous);
    });
}

void CaptureFlow::onSelection(std::optional<Selection> selection,
                              std::optional<platform::ActiveWindow::Id> previous)
{
    if (!selection) {
        qCInfo(lcFlow) << "selection cancelled";
        reactivate(previous);
        // A desktop that asks the user before handing over the screen may
        // have been refused: say so now rather than at the next press.
        if (!m_with.screenAccess.isPermitted())
            m_with.panel.show(panel::PanelState::permission(), std::nullopt);
        finishRun();
        return;
    }
    qCInfo(lcFlow) << "selected" << selection->rect << (selection->still.isNull() ? "live" : "from a still");
    // Fire and forget: the task keeps itself alive until it ends.
    captureRun(std::move(*selection), previous);
}

QCoro::Task<> CaptureFlow::captureRun(Selection selection, std::optional<platform::ActiveWindow::Id> previous)
{
    QPointer<CaptureFlow> self(this);
    const QRectF near = nearRect(selection);

    if (selection.still.isNull()) {
        co_await QCoro::sleepFor(kSettleDelay);
        if (!self)
            co_return;
    }

    capture::CaptureOutcome captured = co_await m_with.capturer.capture(std::move(selection));
    if (!self)
        co_return;
    reactivate(previous);
    if (!captured.ok()) {
        qCInfo(lcFlow) << "capture failed:" << captured.error().index();
        m_with.panel.show(panel::PanelState::error(capture::describe(captured.error())), near);
        finishRun();
        co_return;
    }

    qCInfo(lcFlow) << "captured" << captured.value().size() << "bytes of JPEG";
    m_with.panel.show(panel::PanelState::loading(), near);
    const std::optional<QString> failure = co_await analyzeAndShow(std::move(captured).value(), near);
    if (!self)
        co_return;
    if (failure)
        m_with.panel.show(panel::PanelState::error(*failure), near);
    finishRun();
}

void CaptureFlow::demo()
{
    if (m_running)
        return;
    m_running = true;
    m_with.analysis.warmUp();
    demoRun();
}

QCoro::Task<> CaptureFlow::demoRun()
{
    QPointer<CaptureFlow> self(this);
    const std::optional<QByteArray> jpeg = m_with.demo ? m_with.demo->jpeg() : std::nullopt;
    if (!jpeg) {
        qCInfo(lcFlow) << "the demonstration's sample could not be made";
        finishRun();
        co_return;
    }
    m_with.panel.show(panel::PanelState::loading(), std::nullopt);
    const std::optional<QString> failure = co_await analyzeAndShow(*jpeg, std::nullopt);
    if (!self)
        co_return;
    if (failure)
        m_with.panel.show(panel::PanelState::error(*failure), std::nullopt);
    finishRun();
}

QCoro::Task<std::optional<QString>> CaptureFlow::analyzeAndShow(QByteArray jpeg, std::optional<QRectF> near)
{
    QPointer<CaptureFlow> self(this);
    // The handler holds the flow weakly: a partial that arrives after the flow
    // is gone changes nothing.
    api::PartialHandler onPartial = [self, near](const protocol::StreamPartial &partial) {
        if (self && partial.summary)
            self->m_with.panel.show(panel::PanelState::streaming(partial), near);
    };
    api::AnalysisOutcome outcome = co_await api::runAnalysis(m_with.analysis, std::move(jpeg), onPartial);
    if (!self)
        co_return std::nullopt;
    if (!outcome.ok())
        co_return flow::texts::analysisError(outcome.error());
    handleResult(outcome.value().result, protocol::engineWritesReplies(outcome.value().model), near);
    co_return std::nullopt;
}

void CaptureFlow::handleResult(const protocol::AnalysisResult &result, bool writesReplies,
                               std::optional<QRectF> near)
{
    // auto_copy is deliberately not consulted: respondable and the reply decide.
    qCInfo(lcFlow) << "result:" << (shouldCopy(result) ? "reply copied" : "nothing to copy");
    if (shouldCopy(result)) {
        capture::copyToClipboard(m_with.clipboard, *result.best_reply);
        capture::TavolenSound::play(m_with.settings, m_with.sound);
    }
    m_with.panel.show(panel::PanelState::result(result, writesReplies), near);
}

void CaptureFlow::reactivate(std::optional<platform::ActiveWindow::Id> previous)
{
    if (previous)
        m_with.activeWindow.activate(*previous);
}

void CaptureFlow::finishRun()
{
    m_running = false;
    Q_EMIT runFinished();
}

} // namespace tavolen::flow
