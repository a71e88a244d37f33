#include "panel/ResultPanel.h"

#include "panel/PanelWindow.h"
#include "panel/views/FullContent.h"
#include "panel/views/PillContent.h"
#include "platform/FloatingWindows.h"
#include "ui/Tokens.h"

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
    m_anchor = near;
    cancelTimers();
    if (const api::AnalysisResult *result = state.resultValue()) {
        m_lastResult = *result;
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
    m_lastResult.reset();
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
    ensureWindow();
    render(new views::FullContent(state, entrance, backdrop(), actions(&ResultPanel::hoverFull), nullptr),
           Mode::Full);
}

// Every callback reaches the panel through a guard, so one that outlives it does nothing.
PanelActions ResultPanel::actions(void (ResultPanel::*onHover)(bool))
{
    QPointer<ResultPanel> self(this);
    PanelActions bound = m_system;
    bound.close = [self] {
        if (self)
            self->hide();
    };
    bound.hover = [self, onHover](bool inside) {
        if (self)
            (self.data()->*onHover)(inside);
    };
    bound.resize = [self] {
        if (self)
            self->remeasure();
    };
    return bound;
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
}

ui::Backdrop ResultPanel::backdrop() const
{
    if (!m_window || !m_window->translucent())
        return ui::Backdrop::Opaque;
    return m_windows.canBlurBehind() ? ui::Backdrop::Blurred : ui::Backdrop::Translucent;
}

QRectF ResultPanel::cardFor(QWidget *content) const
{
    QSizeF size;
    if (content->hasHeightForWidth())
        size = QSizeF(t::size::panelWidth, content->heightForWidth(int(t::size::panelWidth)));
    else
        size = content->sizeHint();
    size.setHeight(std::max(size.height(), t::size::panelMinHeight));
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
    QPainterPath surface;
    if (auto *full = dynamic_cast<views::FullContent *>(content))
        surface = full->surface();
    else if (auto *pill = dynamic_cast<views::PillContent *>(content))
        surface = pill->surface();
    m_window->setContent(content, card, surface);
    m_mode = mode;
    m_window->winId(); // the native window exists from here on
    if (backdrop() == ui::Backdrop::Blurred)
        m_windows.setBlurBehind(*m_window->windowHandle(), QRegion(content->geometry()));
    if (!m_window->isVisible()) {
        m_windows.showOnAllWorkspaces(*m_window->windowHandle());
        m_window->show();
    }
    m_window->raise();
}

void ResultPanel::remeasure()
{
    if (!m_window || !m_window->content() || m_mode == Mode::Hidden)
        return;
    QWidget *content = m_window->content();
    const QRectF card = cardFor(content);
    content->resize(card.size().toSize());
    QPainterPath surface;
    if (auto *full = dynamic_cast<views::FullContent *>(content))
        surface = full->surface();
    m_window->placeCard(card, surface);
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
    cancelTimers();
    m_dismissTimer.start(m_timings.dismissPill);
    ensureWindow();
    render(new views::PillContent(*m_lastResult, backdrop(), actions(&ResultPanel::hoverPill), nullptr),
           Mode::Pill);
}

void ResultPanel::expand()
{
    if (!m_lastResult)
        return;
    cancelTimers();
    scheduleCollapse(m_timings.collapseAfterExpand);
    renderFull(PanelState::result(*m_lastResult), true);
}

} // namespace tavolen::panel
