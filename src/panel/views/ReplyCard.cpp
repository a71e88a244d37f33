// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/ReplyCard.h"

#include "panel/views/PanelTexts.h"
#include "panel/views/ReadingParts.h"
#include "ui/Spring.h"
#include "ui/TextBlock.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QVariantAnimation>

#include <cmath>

namespace tavolen::panel::views {

namespace t = ui::tokens;

// The "Copied · Ctrl+V" capsule: brighter and 1.1 times larger for a moment after each copy.
class CopiedBadge final : public QWidget {
public:
    explicit CopiedBadge(QWidget *parent)
        : QWidget(parent), m_text(texts::copied()),
          m_up(new ui::SpringAnimation(
              t::motion::badgePulse, 0, [this](double v) { setLevel(v); }, this))
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        const QFontMetricsF metrics(ui::makeFont(t::type::copiedBadge, this, m_text), this);
        const double w = metrics.height() + 3 + metrics.horizontalAdvance(m_text) + 2 * t::space::badgeH;
        const double h = metrics.height() + 2 * t::space::badgeV;
        m_face = QSizeF(w, h);
        // Room for the pulse's 1.1 scale.
        setFixedSize(int(std::ceil(w * t::motion::badgeScale)), int(std::ceil(h * t::motion::badgeScale)));
    }

    double level() const { return m_level; }

    void pulse()
    {
        if (m_down && m_down->state() == QAbstractAnimation::Running) {
            m_down->stop();
            m_up->jumpTo(m_level);
        }
        m_up->animateTo(1);
        // Each copy schedules its own reset; the first to run ends the highlight.
        QTimer::singleShot(t::motion::badgeHoldMs, this, [this] { fade(); });
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor accent = ui::Theme::accent(palette());
        const double scale = 1 + (t::motion::badgeScale - 1) * m_level;
        painter.translate(rect().center());
        painter.scale(scale, scale);
        const QRectF face(-m_face.width() / 2, -m_face.height() / 2, m_face.width(), m_face.height());
        const double alpha = t::fill::badgeRest + (t::fill::badgePulse - t::fill::badgeRest) * m_level;
        painter.setPen(Qt::NoPen);
        painter.setBrush(ui::withAlpha(accent, alpha));
        painter.drawRoundedRect(face, face.height() / 2, face.height() / 2);
        const QFont font = ui::makeFont(t::type::copiedBadge, this, m_text);
        const double glyph = QFontMetricsF(font, this).height() * 0.8;
        const QRectF content = face.adjusted(t::space::badgeH, 0, -t::space::badgeH, 0);
        ui::paintGlyph(painter, ui::Glyph::Checkmark,
                       QRectF(content.left(), content.center().y() - glyph / 2, glyph, glyph), accent, true);
        painter.setFont(font);
        painter.setPen(accent);
        painter.drawText(content.adjusted(glyph + 3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, m_text);
    }

private:
    void setLevel(double v)
    {
        m_level = v;
        update();
    }

    // Back to rest: an ease-out of 0.3 s from wherever the highlight is.
    void fade()
    {
        if ((m_down && m_down->state() == QAbstractAnimation::Running) || m_level == 0)
            return;
        const double from = m_level;
        m_up->jumpTo(0);
        if (!m_down) {
            m_down = new QVariantAnimation(this);
            m_down->setDuration(t::motion::badgeFadeMs);
            m_down->setEasingCurve(QEasingCurve::OutQuad);
            connect(m_down, &QVariantAnimation::valueChanged, this,
                    [this](const QVariant &v) { setLevel(v.toDouble()); });
        }
        m_down->setStartValue(from);
        m_down->setEndValue(0.0);
        m_down->start();
    }

    QString m_text;
    QSizeF m_face;
    ui::SpringAnimation *m_up;
    QVariantAnimation *m_down = nullptr;
    double m_level = 0;
};

namespace {

class Divider final : public QWidget {
public:
    explicit Divider(QWidget *parent) : QWidget(parent) { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ui::resolve(ui::Ink::Quaternary, palette()));
    }
};

} // namespace

ReplyCard::ReplyCard(const QString &text, const std::optional<QString> &gloss, QWidget *parent)
    : ui::PanelButton(parent)
{
    setObjectName(part::replyCard);
    setCursor(Qt::PointingHandCursor);
    setAccessibleDescription(texts::replyCardHint());
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    auto *column = new QVBoxLayout(this);
    const int pad = int(t::space::cardPadding);
    column->setContentsMargins(pad, pad, pad, pad);
    column->setSpacing(int(t::space::cardSpacing));
    m_reply = new ui::TextBlock(text, t::type::reply, ui::Ink::Primary, this);
    m_divider = new Divider(this);
    m_gloss = new ui::TextBlock(QString(), t::type::gloss, ui::Ink::Secondary, this);
    m_gloss->setGlyph(ui::Glyph::Globe, t::type::globeGlyph, t::space::glossSpacing, t::space::glossGlyphTop);
    m_badge = new CopiedBadge(this);
    column->addWidget(m_reply);
    column->addWidget(m_divider);
    column->addWidget(m_gloss);
    column->addWidget(m_badge, 0, Qt::AlignRight);
    for (QWidget *child : {static_cast<QWidget *>(m_reply), m_divider, static_cast<QWidget *>(m_gloss)})
        child->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_hoverSpring = new ui::SpringAnimation(
        t::motion::cardHover, 0,
        [this](double v) {
            m_hover = v;
            update();
        },
        this);
    m_variantSpring = new ui::SpringAnimation(
        t::motion::variantSwitch, 1,
        [this](double v) {
            for (QWidget *w : {static_cast<QWidget *>(m_reply), static_cast<QWidget *>(m_gloss)}) {
                if (v >= 1 && m_variantSpring && m_variantSpring->state() != QAbstractAnimation::Running)
                    w->setGraphicsEffect(nullptr);
                else if (auto *fade = qobject_cast<QGraphicsOpacityEffect *>(w->graphicsEffect()))
                    fade->setOpacity(std::clamp(v, 0.0, 1.0));
            }
        },
        this);
    setText(text);
    setGloss(gloss);
}

void ReplyCard::setGloss(const std::optional<QString> &gloss)
{
    const bool shown = isShown(gloss);
    m_gloss->setText(shown ? *gloss : QString());
    m_divider->setVisible(shown);
    m_gloss->setVisible(shown);
    setAccessibleName(shown ? m_reply->text() + QStringLiteral(" — ") + *gloss : m_reply->text());
}

void ReplyCard::showReply(const QString &text, const std::optional<QString> &gloss)
{
    m_reply->setText(text);
    setText(text);
    setGloss(gloss);
    if (!isVisible())
        return; // nothing on screen to fade
    for (QWidget *w : {static_cast<QWidget *>(m_reply), static_cast<QWidget *>(m_gloss)}) {
        auto *fade = new QGraphicsOpacityEffect(w);
        fade->setOpacity(0);
        w->setGraphicsEffect(fade);
    }
    m_variantSpring->jumpTo(0);
    m_variantSpring->animateTo(1);
}

void ReplyCard::pulseCopied()
{
    m_badge->pulse();
}

QString ReplyCard::replyText() const
{
    return m_reply->text();
}

QString ReplyCard::glossText() const
{
    return m_gloss->isVisibleTo(this) ? m_gloss->text() : QString();
}

double ReplyCard::badgeLevel() const
{
    return m_badge->level();
}

void ReplyCard::enterEvent(QEnterEvent *event)
{
    m_hoverSpring->animateTo(1);
    ui::PanelButton::enterEvent(event);
}

void ReplyCard::leaveEvent(QEvent *event)
{
    m_hoverSpring->animateTo(0);
    ui::PanelButton::leaveEvent(event);
}

void ReplyCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = ui::Theme::accent(palette());
    const QRectF shape = QRectF(rect());
    const double r = t::radius::replyCard;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ui::withAlpha(accent, t::fill::replyCard));
    painter.drawRoundedRect(shape, r, r);
    const double border =
        t::fill::replyBorderRest + (t::fill::replyBorderHover - t::fill::replyBorderRest) * m_hover;
    ui::strokeInside(painter, shape, r, t::line::replyCard, ui::withAlpha(accent, border));
    paintFocusRing(painter, shape, r);
}

} // namespace tavolen::panel::views
