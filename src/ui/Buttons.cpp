// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Buttons.h"

#include "ui/Motion.h"
#include "ui/TextBlock.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace tavolen::ui {

namespace {

// Room around a lifted face, so that its 1.05 scale is not clipped.
constexpr double kLiftRoom = 2;

int up(double v)
{
    return int(std::ceil(v));
}

struct CapsuleLook {
    tokens::TypeStyle font;
    double padH;
    double padV;
};

CapsuleLook lookOf(CapsuleButton::Style style)
{
    namespace s = tokens::space;
    switch (style) {
    case CapsuleButton::Style::Glass:
        return {tokens::type::chip, s::chipH, s::chipV};
    case CapsuleButton::Style::Prominent:
        return {tokens::type::button, s::buttonH, s::buttonV};
    case CapsuleButton::Style::Large:
        return {tokens::shell::onboarding::button, tokens::shell::onboarding::buttonH,
                tokens::shell::onboarding::buttonV};
    }
    return {tokens::type::button, s::buttonH, s::buttonV};
}

} // namespace

PanelButton::PanelButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void PanelButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PanelButton::paintFocusRing(QPainter &painter, const QRectF &shape, double radius) const
{
    if (!hasFocus() || focusPolicy() == Qt::NoFocus)
        return;
    strokeInside(painter, shape, radius, tokens::line::focusRing, Theme::accent(palette()));
}

CapsuleButton::CapsuleButton(const QString &title, Style style, QWidget *parent)
    : PanelButton(parent), m_style(style), m_lift(style != Style::Prominent ? new HoverLift(this) : nullptr)
{
    setText(title);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize CapsuleButton::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    const QFontMetricsF metrics(makeFont(lookOf(m_style).font, this, text()), this);
    return QSize(std::min(hint.width(), up(hint.width() - metrics.horizontalAdvance(text()) +
                                           metrics.horizontalAdvance(QStringLiteral("Www…")))),
                 hint.height());
}

QSize CapsuleButton::sizeHint() const
{
    const CapsuleLook look = lookOf(m_style);
    const QFontMetricsF metrics(makeFont(look.font, this, text()), this);
    const double room = m_lift ? 2 * kLiftRoom : 0;
    return QSize(up(metrics.horizontalAdvance(text()) + 2 * look.padH + room),
                 up(metrics.height() + 2 * look.padV + room));
}

QRectF CapsuleButton::capsule() const
{
    const double room = m_lift ? kLiftRoom : 0;
    return QRectF(rect()).adjusted(room, room, -room, -room);
}

void CapsuleButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = capsule();
    const double radius = shape.height() / 2;
    QColor textColour;
    if (m_style == Style::Glass) {
        m_lift->applyScale(painter, shape);
        paintGlassCapsule(painter, shape, palette(), Backdrop::Translucent);
        // Glass on the glass card: a faint tint of its own keeps the capsule visible.
        painter.setPen(Qt::NoPen);
        painter.setBrush(withAlpha(resolve(Ink::Primary, palette()), tokens::fill::chipTint));
        painter.drawRoundedRect(shape, radius, radius);
        textColour = m_lift->applyBrightness(resolve(Ink::Primary, palette()));
    } else {
        if (m_lift)
            m_lift->applyScale(painter, shape);
        QColor fill = Theme::accent(palette());
        if (m_lift)
            fill = m_lift->applyBrightness(fill);
        if (isDown())
            fill = fill.darker(115);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(shape, radius, radius);
        textColour = resolve(Ink::OnAccent, palette());
    }
    const CapsuleLook look = lookOf(m_style);
    painter.setFont(makeFont(look.font, this, text()));
    painter.setPen(textColour);
    const double pad = look.padH;
    const QString shown =
        QFontMetricsF(painter.font(), this).elidedText(text(), Qt::ElideRight, shape.width() - 2 * pad + 1);
    painter.drawText(shape, Qt::AlignCenter, shown);
    paintFocusRing(painter, shape, radius);
}

GlyphButton::GlyphButton(Look look, const QString &accessibleName, QWidget *parent)
    : PanelButton(parent), m_look(look)
{
    setAccessibleName(accessibleName);
    if (look.lift)
        m_lift = new HoverLift(this);
    const double face = std::max(look.circle, look.glyphSize);
    setFixedSize(up(face + 2 * kLiftRoom), up(face + 2 * kLiftRoom));
    // Esc closes the panel; the close buttons stay out of the Tab order.
    setFocusPolicy(Qt::NoFocus);
}

QRectF GlyphButton::face() const
{
    const double side = std::max(m_look.circle, m_look.glyphSize);
    return QRectF(kLiftRoom, kLiftRoom, side, side);
}

void GlyphButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = face();
    if (m_lift)
        m_lift->applyScale(painter, shape);
    const auto lit = [this](QColor c) { return m_lift ? m_lift->applyBrightness(c) : c; };
    if (m_look.circle > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(lit(withAlpha(resolve(Ink::Quaternary, palette()), tokens::fill::closeCircle)));
        painter.drawEllipse(shape);
    }
    const QRectF glyphBox(shape.center().x() - m_look.glyphSize / 2,
                          shape.center().y() - m_look.glyphSize / 2, m_look.glyphSize, m_look.glyphSize);
    paintGlyph(painter, m_look.glyph, glyphBox, lit(resolve(m_look.ink, palette())), true);
}

TextButton::TextButton(const QString &title, tokens::TypeStyle type, Ink ink, QWidget *parent)
    : PanelButton(parent), m_type(type), m_ink(ink)
{
    setText(title);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize TextButton::sizeHint() const
{
    const QFontMetricsF metrics(makeFont(m_type, this, text()), this);
    return QSize(up(metrics.horizontalAdvance(text()) + 2),
                 up(metrics.height() + tokens::line::focusRingRoom));
}

// A link-like button shows its focus as an underline below the text: a ring
// around it would be drawn over its first and last letters, and room for one
// would set the text off the column it starts.
void TextButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor colour = resolve(m_ink, palette());
    if (isDown())
        colour = withAlpha(colour, 0.6);
    painter.setFont(makeFont(m_type, this, text()));
    painter.setPen(colour);
    const QRectF textBox = QRectF(rect()).adjusted(0, 0, 0, -tokens::line::focusRingRoom);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus() && focusPolicy() != Qt::NoFocus) {
        const double w = tokens::line::focusRing;
        const double width = QFontMetricsF(painter.font(), this).horizontalAdvance(text());
        painter.fillRect(QRectF(0, height() - w, width, w), Theme::accent(palette()));
    }
}

} // namespace tavolen::ui
