// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/FullContent.h"

#include "panel/views/ErrorContent.h"
#include "panel/views/LoadingView.h"
#include "panel/views/PanelTexts.h"
#include "panel/views/PermissionContent.h"
#include "panel/views/ReadingParts.h"
#include "panel/views/ResultContent.h"
#include "panel/views/StreamingContent.h"
#include "ui/Buttons.h"
#include "ui/Motion.h"
#include "ui/Theme.h"

#include <QBoxLayout>
#include <QPainter>
#include <QScrollArea>

namespace tavolen::panel::views {

namespace t = ui::tokens;

namespace {

template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

QWidget *makeContentView(const PanelState &state, const PanelActions &actions, QWidget *parent)
{
    return std::visit(
        Overloaded{
            [&](const PanelState::Loading &) -> QWidget * { return new LoadingView(parent); },
            [&](const PanelState::Streaming &s) -> QWidget * {
                return new StreamingContent(s.partial, parent);
            },
            [&](const PanelState::Result &r) -> QWidget * {
                return new ResultContent(r.result, actions, parent, r.engineWritesReplies);
            },
            [&](const PanelState::Error &e) -> QWidget * { return new ErrorContent(e.message, parent); },
            [&](const PanelState::Permission &) -> QWidget * {
                return new PermissionContent(actions.requestAccess, parent);
            },
        },
        state.value());
}

} // namespace

FullContent::FullContent(const PanelState &state, bool entranceAnimated, ui::Backdrop backdrop,
                         PanelActions actions, QWidget *parent)
    : QWidget(parent), m_tint(state.riskTint()), m_entrance(entranceAnimated), m_backdrop(backdrop),
      m_actions(std::move(actions))
{
    setFixedWidth(int(t::size::panelWidth));
    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_content = makeContentView(state, m_actions, this);
    // The card may be given less height than its reading takes, where the
    // screen ends; the reading then scrolls inside it. On the glass.
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_content);
    m_scroll->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    column->addWidget(m_scroll);

    m_close = new ui::GlyphButton(
        {ui::Glyph::Close, t::type::closeGlyph, ui::Ink::Secondary, t::space::closeSize, true},
        texts::close(), this);
    m_close->setObjectName(part::closeButton);
    connect(m_close, &QAbstractButton::clicked, this, [this] { call(m_actions.close); });
    m_close->raise();
    resizeEvent(nullptr); // the width is fixed, so the close button's place is known now
    if (entranceAnimated)
        ui::EntranceEffect::install(this);
}

int FullContent::heightForWidth(int width) const
{
    const int h =
        m_content->hasHeightForWidth() ? m_content->heightForWidth(width) : m_content->sizeHint().height();
    return std::max(h, 0);
}

QSize FullContent::sizeHint() const
{
    return QSize(int(t::size::panelWidth), heightForWidth(int(t::size::panelWidth)));
}

std::optional<QColor> FullContent::riskOutline() const
{
    if (!m_tint)
        return std::nullopt;
    const QColor base =
        *m_tint == PanelState::Tint::Danger ? ui::Theme::danger(palette()) : ui::Theme::caution(palette());
    return ui::withAlpha(base, t::line::riskOutlineAlpha);
}

QPainterPath FullContent::surface() const
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), t::radius::card, t::radius::card);
    return path;
}

void FullContent::resizeEvent(QResizeEvent *)
{
    // A scroll bar only on a card cut short, where it says there is more.
    m_scroll->setVerticalScrollBarPolicy(height() < heightForWidth(width()) ? Qt::ScrollBarAsNeeded
                                                                            : Qt::ScrollBarAlwaysOff);
    // The close button's visible circle sits 10 in from the top and right edges.
    const QRectF face = m_close->face();
    m_close->move(int(width() - t::space::closeInset - face.right()), int(t::space::closeInset - face.top()));
}

void FullContent::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF card = QRectF(rect());
    ui::paintGlass(painter, card, t::radius::card, palette(), m_backdrop);
    if (const auto outline = riskOutline())
        ui::strokeInside(painter, card, t::radius::card, t::line::riskOutline, *outline);
}

void FullContent::enterEvent(QEnterEvent *)
{
    call(m_actions.hover, true);
}

void FullContent::leaveEvent(QEvent *)
{
    call(m_actions.hover, false);
}

} // namespace tavolen::panel::views
