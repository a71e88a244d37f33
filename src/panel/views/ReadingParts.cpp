// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/ReadingParts.h"

#include "panel/views/PanelTexts.h"
#include "ui/Glass.h"
#include "ui/Mark.h"
#include "ui/Theme.h"

#include <QBoxLayout>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace tavolen::panel::views {

namespace t = ui::tokens;

ToneChip::ToneChip(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setObjectName(part::toneChip);
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

QSize ToneChip::sizeHint() const
{
    const QFontMetricsF metrics(ui::makeFont(t::type::toneChip, this, text()), this);
    return QSize(int(std::ceil(metrics.horizontalAdvance(text()) + 2 * t::space::toneChipH)),
                 int(std::ceil(metrics.height() + 2 * t::space::toneChipV)));
}

void ToneChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = ui::Theme::accent(palette());
    const QRectF shape = QRectF(rect());
    const double radius = shape.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ui::withAlpha(accent, t::fill::toneChip));
    painter.drawRoundedRect(shape, radius, radius);
    ui::strokeInside(painter, shape, radius, t::line::toneChipBorder,
                     ui::withAlpha(accent, t::fill::toneChipBorder));
    painter.setFont(ui::makeFont(t::type::toneChip, this, text()));
    painter.setPen(accent);
    const QRectF textBox = shape.adjusted(t::space::toneChipH, 0, -t::space::toneChipH, 0);
    const QString shown =
        QFontMetricsF(painter.font(), this).elidedText(text(), Qt::ElideRight, textBox.width() + 1);
    painter.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
}

bool isShown(const std::optional<QString> &text)
{
    return text && !text->isEmpty();
}

QVBoxLayout *addHeader(QBoxLayout *into, QWidget *parent, const std::optional<QString> &tone,
                       const std::optional<QString> &summary)
{
    auto *header = new QVBoxLayout;
    header->setSpacing(int(t::space::headerSpacing));
    header->setContentsMargins(0, 0, int(t::space::headerTrailing), 0);
    if (isShown(tone))
        header->addWidget(new ToneChip(*tone, parent), 0, Qt::AlignLeft);
    if (isShown(summary)) {
        auto *text = new ui::TextBlock(*summary, t::type::summary, ui::Ink::Primary, parent);
        text->setObjectName(part::summary);
        header->addWidget(text);
    }
    into->addLayout(header);
    return header;
}

void addHiddenMeaning(QBoxLayout *into, QWidget *parent, const std::optional<QString> &text)
{
    if (!isShown(text))
        return;
    auto *section = new QWidget(parent);
    section->setObjectName(part::hiddenMeaning);
    auto *column = new QVBoxLayout(section);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(t::space::sectionSpacing));
    column->addWidget(new ui::TextBlock(texts::hiddenMeaningHeading(), t::type::sectionHeading,
                                        ui::Ink::Tertiary, section));
    column->addWidget(new ui::TextBlock(*text, t::type::sectionText, ui::Ink::Secondary, section));
    into->addWidget(section);
}

void addRiskLine(QBoxLayout *into, QWidget *parent, const std::optional<QString> &reason,
                 const std::optional<QString> &level)
{
    if (!isShown(reason) || level == QStringLiteral("low"))
        return;
    const ui::Ink ink = level == QStringLiteral("high") ? ui::Ink::Danger : ui::Ink::Caution;
    auto *line = new ui::TextBlock(*reason, t::type::riskLine, ink, parent);
    line->setObjectName(part::riskLine);
    line->setGlyph(ui::Glyph::WarningTriangle, t::type::riskLine.px);
    into->addWidget(line);
}

ui::TextBlock *makeTrustBadge(QWidget *parent)
{
    auto *badge = new ui::TextBlock(texts::trustBadge(), t::type::trustBadge, ui::Ink::Quaternary, parent);
    badge->setObjectName(part::trustBadge);
    badge->setGlyph(ui::Glyph::Flame, t::type::trustBadge.px);
    badge->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    // The chips beside it give way first.
    badge->setMinimumWidth(badge->sizeHint().width());
    return badge;
}

QHBoxLayout *makeProgressRow(QWidget *parent, double markSide, const QString &text,
                             ui::tokens::TypeStyle type, ui::Ink ink, double spacing)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(int(spacing));
    auto *mark = new ui::BreathingMark(markSide, parent);
    mark->setObjectName(part::progressMark);
    auto *label = new ui::TextBlock(text, type, ink, parent);
    label->setObjectName(part::progressText);
    row->addWidget(mark);
    row->addWidget(label, 1);
    return row;
}

} // namespace tavolen::panel::views
