// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/ResultPanel.h"

#include "core/Log.h"
#include "panel/PanelWindow.h"
#include "panel/views/FullContent.h"
#include "panel/views/PillContent.h"
#include "platform/FloatingWindows.h"
#include "ui/Tokens.h"

#include <QCursor>
#include <QPointer>

namespace tavolen::panel {

namespace t = ui::tokens;

ResultPanel::ResultPanel(platform::FloatingWindows &windows, PanelActions system, Timings timings,
                         QObject *parent)
    : QObject(parent), m_windows(windows), m_system(std::move(system)), m_timings(timings)
{
    m_collapseTimer.setSingleShot(true);
    m_dismissTimer.setSingleShot(true);
    connect(&m_collapseTimer, &QTimer::timeout, this, &ResultPanel::collapse);
    connect(&m_dismissTimer, &QTimer::timeout, this, &ResultPanel::hide);
}

ResultPanel::~ResultPanel() = default;

QWidget *ResultPanel::window() const
{
    return m_window.get();
}

QWidget *ResultPanel::content() const
{
    return m_window ? m_window->content() : nullptr;
}

void ResultPanel::show(const PanelState &state, std::optional<QRectF> near)
{
    // The view's kind and place only: never its texts.
    qCDebug(lcPanel) << "show" << int(state.contentView()) << "beside" << (near ? *near : QRectF());
    if (near != m_anchor)
        m_held.reset();
    m_anchor = near;
    cancelTimers();
    if (const protocol::AnalysisResult *result = state.resultValue()) {
        m_lastResult = *result;
        m_lastEngineWritesReplies = state.engineWritesReplies();
        scheduleCollapse(m_timings.collapseAfterResult);
    } else {
        m_lastResult.reset();
    }
    const bool entrance = !m_window || !m_window->isVisible() || !m_wasStreaming;
    m_wasStreaming = state.isInProgress();
    renderFull(state, entrance);
}

void ResultPanel::hide()
{
    cancelTimers();
    if (m_window)
        m_keyboard.giveBack(*m_window);
    m_lastResult.reset();
    m_fullState.reset();
    m_held.reset();
    const bool wasShown = m_mode != Mode::Hidden;
    m_mode = Mode::Hidden;
    // A hidden window keeps its backing store and its last content; the
    // next show builds both afresh anyway. Deferred, as the window may be
    // in the middle of an event (Esc, the close button).
    if (m_window) {
        m_window->hide();
        m_window.release()->deleteLater();
    }
    if (wasShown)
        Q_EMIT closed();
}

void ResultPanel::renderFull(const PanelState &state, bool entrance)
{
    m_fullState = state;
    ensureWindow();
    auto shown = std::make_shared<QPointer<QWidget>>();
    *shown =
        new views::FullContent(state, entrance, backdrop(), actions(&ResultPanel::hoverFull, shown), nullptr);
    render(*shown, Mode::Full);
}

// Every callback reaches the panel through a guard, so one that outlives it
// does nothing; hover and resize count only from the content on show now
// (`shown` is filled in once the content exists).
PanelActions ResultPanel::actions(void (ResultPanel::*onHover)(bool),
                                  std::shared_ptr<QPointer<QWidget>> shown)
{
    QPointer<ResultPanel> self(this);
    const auto current = [self, shown] { return self && self->content() && self->content() == *shown; };
    PanelActions bound = m_system;
    bound.close = [self] {
        if (self)
            self->hide();
    };
    bound.hover = [self, current, onHover](bool inside) {
        if (current())
            self->hover(inside, onHover);
    };
    bound.resize = [self, current] {
        if (current())
            self->remeasure();
    };
    return bound;
}

// A pill that appears under a resting pointer has not been entered: only a
// pointer that comes in opens it, or a card folding under the pointer would
// open again at once. A full card is being read wherever the pointer came
// from, so a pointer resting on it holds it.
void ResultPanel::hover(bool inside, void (ResultPanel::*onHover)(bool))
{
    if (inside && m_pointerInsideAtShow && m_mode == Mode::Pill)
        return;
    m_pointerInsideAtShow = false;
    (this->*onHover)(inside);
}

// Over a result the timers wait; leaving starts the fold again.
void ResultPanel::hoverFull(bool inside)
{
    if (!m_lastResult)
        return;
    if (inside)
        cancelTimers();
    else
        scheduleCollapse(m_timings.collapseAfterLeave);
}

void ResultPanel::hoverPill(bool inside)
{
    if (inside)
        expand();
}

void ResultPanel::ensureWindow()
{
    if (m_window)
        return;
    // Asked afresh for every window: a compositor may have started or stopped.
    m_window = std::make_unique<PanelWindow>(m_windows.compositing(), m_windows.windowsPlaceThemselves());
    QPointer<ResultPanel> self(this);
    m_window->onEscape = [self] {
        if (self)
            self->hide();
    };
    m_window->onFocusMayMove = [self] {
        if (self)
            self->m_keyboard.remember(*self->m_window);
    };
    m_window->onLanguageChange = [self] {
        if (self)
            self->reword();
    };
}

ui::Backdrop ResultPanel::backdrop() const
{
    if (!m_window || !m_window->translucent())
        return ui::Backdrop::Opaque;
    return m_windows.canBlurBehind() ? ui::Backdrop::Blurred : ui::Backdrop::Translucent;
}

// A card that changes sides as it grows leaps across the screen, away from
// the pointer and the eye. So the side is chosen once per run, for the room
// a finished reading needs; from then on the card keeps its edge next to
// the selection, grows away from it and scrolls its reading when the screen
// ends, never covering the selection.
QRectF ResultPanel::cardFor(QWidget *content)
{
    QSizeF size;
    if (content->hasHeightForWidth())
        size = QSizeF(t::size::panelWidth, content->heightForWidth(int(t::size::panelWidth)));
    else
        size = content->sizeHint();
    size.setHeight(std::max(size.height(), t::size::panelMinHeight));
    // Where the user has dragged the panel, it stays for the rest of the run.
    if (m_window && m_window->movedByUser())
        return QRectF(m_window->surfaceGeometry().topLeft(), size);
    if (m_anchor && !m_held) {
        const QSizeF planned(size.width(), std::max(size.height(), t::size::panelPlanHeight));
        m_held = cardAnchor(planned, *m_anchor, m_screens(), t::size::panelMinHeight);
    }
    if (m_held)
        return cardAt(*m_held, size);
    return QRectF(panelOrigin(size, m_anchor, m_screens()), size);
}

void ResultPanel::render(QWidget *content, Mode mode)
{
    ensureWindow();
    // Polish first: measuring needs the fonts and styles the window will use.
    content->setParent(m_window.get());
    content->ensurePolished();
    const QRectF card = cardFor(content);
    content->resize(card.size().toSize());
    m_window->setContent(content, card, views::surfaceOf(content));
    m_mode = mode;
    m_pointerInsideAtShow = card.contains(QCursor::pos());
    if (m_pointerInsideAtShow && mode == Mode::Full)
        hoverFull(true);
    updateBlur();
    if (!m_window->isVisible())
        platform::showAsPanel(m_windows, *m_window);
    m_window->raise();
}

void ResultPanel::remeasure()
{
    if (!m_window || !m_window->content() || m_mode == Mode::Hidden)
        return;
    QWidget *content = m_window->content();
    const QRectF card = cardFor(content);
    content->resize(card.size().toSize());
    m_window->placeCard(card, views::surfaceOf(content));
    updateBlur();
}

// The blur follows the card's own outline, rounded corners included.
void ResultPanel::updateBlur()
{
    if (backdrop() != ui::Backdrop::Blurred)
        return;
    m_window->winId(); // the native window must exist
    m_windows.setBlurBehind(*m_window->windowHandle(), m_window->surfaceRegion());
}

void ResultPanel::scheduleCollapse(std::chrono::milliseconds after)
{
    m_collapseTimer.start(after);
}

void ResultPanel::cancelTimers()
{
    m_collapseTimer.stop();
    m_dismissTimer.stop();
}

void ResultPanel::collapse()
{
    if (!m_lastResult)
        return;
    // A card under the pointer is being read; should its leaving have gone
    // unheard, look again later rather than fold it away under the pointer.
    if (m_mode == Mode::Full && m_window && m_window->surfaceGeometry().contains(QCursor::pos())) {
        scheduleCollapse(m_timings.collapseAfterLeave);
        return;
    }
    cancelTimers();
    if (m_window)
        m_keyboard.giveBack(*m_window);
    m_dismissTimer.start(m_timings.dismissPill);
    renderPill();
}

void ResultPanel::renderPill()
{
    ensureWindow();
    auto shown = std::make_shared<QPointer<QWidget>>();
    *shown = new views::PillContent(*m_lastResult, backdrop(), actions(&ResultPanel::hoverPill, shown),
                                    nullptr, m_lastEngineWritesReplies);
    render(*shown, Mode::Pill);
}

void ResultPanel::expand()
{
    if (!m_lastResult)
        return;
    cancelTimers();
    scheduleCollapse(m_timings.collapseAfterExpand);
    renderFull(PanelState::result(*m_lastResult, m_lastEngineWritesReplies), true);
}

// The same card in the new language, where it is, without an entrance and
// with its timers running on.
void ResultPanel::reword()
{
    if (m_mode == Mode::Full && m_fullState)
        renderFull(*m_fullState, false);
    else if (m_mode == Mode::Pill && m_lastResult)
        renderPill();
}

} // namespace tavolen::panel
