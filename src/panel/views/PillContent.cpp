// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/PillContent.h"

#include "panel/views/PanelTexts.h"
#include "panel/views/ReadingParts.h"
#include "ui/Buttons.h"
#include "ui/Motion.h"
#include "ui/TextBlock.h"

#include <QBoxLayout>
#include <QPainter>

namespace tavolen::panel::views {

namespace t = ui::tokens;

namespace {

// A plain widget showing one glyph, read out as `name`.
class GlyphIcon final : public QWidget {
public:
    GlyphIcon(ui::Glyph glyph, double size, ui::Ink ink, const QString &name, QWidget *parent)
        : QWidget(parent), m_glyph(glyph), m_ink(ink)
    {
        setFixedSize(qRound(size), qRound(size));
        setAccessibleName(name);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        ui::paintGlyph(painter, m_glyph, rect(), ui::resolve(m_ink, palette()));
    }

private:
    ui::Glyph m_glyph;
    ui::Ink m_ink;
};

} // namespace

PillContent::PillContent(const protocol::AnalysisResult &result, ui::Backdrop backdrop, PanelActions actions,
                         QWidget *parent, bool engineWritesReplies)
    : QWidget(parent), m_backdrop(backdrop), m_actions(std::move(actions))
{
    const bool respondable = result.respondable.value_or(true);
    // An empty reply would leave the pill's one line blank: the summary says more.
    const bool reply = respondable && result.best_reply && !result.best_reply->isEmpty();
    const QString text = reply ? *result.best_reply : result.summary;

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(int(t::space::pillH), int(t::space::pillV), int(t::space::pillH),
                            int(t::space::pillV));
    row->setSpacing(int(t::space::pillSpacing));
    auto *icon = new GlyphIcon(respondable ? ui::Glyph::CheckCircle : ui::Glyph::Book, t::type::pillIcon,
                               ui::Ink::Accent,
                               respondable           ? texts::suggestedReply()
                               : engineWritesReplies ? texts::readingOnly()
                                                     : texts::repliesNeedModel(),
                               this);
    icon->setObjectName(part::pillIcon);
    icon->setProperty("glyph", int(respondable ? ui::Glyph::CheckCircle : ui::Glyph::Book));
    m_line = new ui::TextBlock(text, t::type::pillLine, ui::Ink::Secondary, this);
    m_line->setObjectName(part::pillText);
    m_line->setLines(ui::TextBlock::Lines::OneLineElided);
    auto *close = new ui::GlyphButton({ui::Glyph::Close, t::type::pillCloseGlyph, ui::Ink::Tertiary},
                                      texts::close(), this);
    close->setObjectName(part::closeButton);
    connect(close, &QAbstractButton::clicked, this, [this] { call(m_actions.close); });
    row->addWidget(icon);
    row->addWidget(m_line, 1);
    row->addWidget(close);
    // The pill always comes in with the entrance.
    ui::EntranceEffect::install(this);
}

QSize PillContent::sizeHint() const
{
    const QMargins m = layout()->contentsMargins();
    int width = m.left() + m.right();
    int height = 0;
    for (int i = 0; i < layout()->count(); ++i) {
        QWidget *w = layout()->itemAt(i)->widget();
        // The icon and the close button have fixed sizes and no size hint of
        // their own: counted at their hints, the line lost their room and was
        // cut though it fitted.
        const QSize hint = w->sizeHint().expandedTo(w->minimumSize());
        width += hint.width() + (i ? layout()->spacing() : 0);
        height = std::max(height, hint.height());
    }
    return QSize(std::min(width, int(t::size::pillMaxWidth)), height + m.top() + m.bottom());
}

QRectF PillContent::capsule() const
{
    // The window may be taller than the pill (its 44 minimum): centre it.
    const double h = std::min<double>(sizeHint().height(), height());
    return QRectF(0, (height() - h) / 2, width(), h);
}

QPainterPath PillContent::surface() const
{
    const QRectF shape = capsule();
    QPainterPath path;
    path.addRoundedRect(shape, shape.height() / 2, shape.height() / 2);
    return path;
}

void PillContent::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    ui::paintGlassCapsule(painter, capsule(), palette(), m_backdrop);
}

void PillContent::enterEvent(QEnterEvent *)
{
    call(m_actions.hover, true);
}

void PillContent::leaveEvent(QEvent *)
{
    call(m_actions.hover, false);
}

} // namespace tavolen::panel::views
