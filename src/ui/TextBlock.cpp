// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/TextBlock.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace tavolen::ui {

namespace {

// Lays `layout` out in lines of `width`, `spacing` apart, aligned as `align`; its height.
double layOut(QTextLayout &layout, double width, double spacing, Qt::Alignment align = Qt::AlignLeft)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(align & Qt::AlignHorizontal_Mask);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    bool first = true;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (!first)
            y += spacing;
        first = false;
        line.setLineWidth(std::max(width, 1.0));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

bool isChinese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return c.script() == QChar::Script_Han || (u >= 0x3000 && u <= 0x303F) ||
               (u >= 0xFF00 && u <= 0xFFEF);
    });
}

} // namespace

// Chinese text is set in a CJK family that has real weights, first for every
// glyph of the line: a fallback face would set the Han characters regular
// beside bold Latin ones and take the quotes, narrow, from the Latin font.
QFont makeFont(const tokens::TypeStyle &type, const QPaintDevice *device, const QString &text)
{
    QFont font;
    if (isChinese(text))
        font.setFamilies({QString::fromLatin1(tokens::type::chineseFamily)});
    // Point sizes keep fractions that pixel sizes would round away; convert
    // at the device's own resolution so the text is exactly type.px pixels.
    const int dpi = device ? device->logicalDpiY() : 96;
    font.setPointSizeF(type.px * 72.0 / (dpi > 0 ? dpi : 96));
    font.setWeight(type.weight);
    if (type.tracking != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, type.tracking);
    return font;
}

double naturalWidth(const QString &text, const tokens::TypeStyle &type, const QPaintDevice *device)
{
    return QFontMetricsF(makeFont(type, device, text), device).horizontalAdvance(text);
}

TextBlock::TextBlock(const QString &text, tokens::TypeStyle type, Ink ink, QWidget *parent)
    : QLabel(text, parent), m_type(type), m_ink(ink)
{
    // The service's text is shown as it is, never read as markup.
    setTextFormat(Qt::PlainText);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setFont(makeFont(type, this, text));
}

void TextBlock::setInk(Ink ink)
{
    m_ink = ink;
    update();
}

void TextBlock::setLines(Lines lines)
{
    m_lines = lines;
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(lines == Lines::Wrap);
    if (lines == Lines::OneLineElided)
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
    setSizePolicy(policy);
    updateGeometry();
}

void TextBlock::setGlyph(Glyph glyph, double size, double spacing, std::optional<double> top)
{
    m_glyph = glyph;
    m_glyphSize = size;
    m_glyphSpacing = spacing;
    m_glyphTop = top;
    updateGeometry();
}

double TextBlock::textIndent() const
{
    return m_glyph ? m_glyphSize + m_glyphSpacing : 0;
}

QString TextBlock::shownText() const
{
    if (m_lines == Lines::Wrap)
        return text();
    const QFontMetricsF metrics(makeFont(m_type, this, text()), this);
    return metrics.elidedText(text(), Qt::ElideRight, width() - textIndent());
}

QSize TextBlock::sizeHint() const
{
    const double w = std::ceil(textIndent() + naturalWidth(text(), m_type, this));
    if (m_lines == Lines::OneLineElided)
        return QSize(int(w), int(std::ceil(QFontMetricsF(makeFont(m_type, this, text()), this).height())));
    return QSize(int(w), heightForWidth(int(w)));
}

QSize TextBlock::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return QSize(m_lines == Lines::Wrap ? std::min(hint.width(), 40) : 0, hint.height());
}

int TextBlock::heightForWidth(int width) const
{
    QTextLayout layout(text(), makeFont(m_type, this, text()), const_cast<TextBlock *>(this));
    const double h = layOut(layout, width - textIndent(), m_type.lineSpacing);
    return int(std::ceil(std::max(h, m_glyph ? m_glyphSize + m_glyphTop.value_or(0) : 0.0)));
}

void TextBlock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = resolve(m_ink, palette());
    const QFont font = makeFont(m_type, this, text());
    QTextLayout layout(shownText(), font, this);
    const double indent = textIndent();
    // Wrapped lines follow the label's horizontal alignment (centred text).
    layOut(layout, m_lines == Lines::Wrap ? width() - indent : 1e6, m_type.lineSpacing,
           m_lines == Lines::Wrap ? alignment() : Qt::AlignLeft);
    if (m_glyph) {
        const double lineHeight = layout.lineCount() ? layout.lineAt(0).height() : m_glyphSize;
        const double glyphTop = m_glyphTop.value_or((lineHeight - m_glyphSize) / 2);
        paintGlyph(painter, *m_glyph, QRectF(0, glyphTop, m_glyphSize, m_glyphSize), colour);
    }
    painter.setPen(colour);
    // One line sits in the middle of whatever height the layout gave it.
    const double top = m_lines == Lines::OneLineElided && layout.lineCount()
                           ? (height() - layout.lineAt(0).height()) / 2
                           : 0;
    layout.draw(&painter, QPointF(indent, top));
}

} // namespace tavolen::ui
