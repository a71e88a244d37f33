// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Glyphs.h"
#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QLabel>

#include <optional>

class QPaintDevice;

namespace tavolen::ui {

// A font of `type.px` logical pixels (fractions kept) for `text` laid out on
// `device`; Chinese text gets the CJK family (see makeFont).
QFont makeFont(const tokens::TypeStyle &type, const QPaintDevice *device, const QString &text = {});
// The width of `text` on one line.
double naturalWidth(const QString &text, const tokens::TypeStyle &type, const QPaintDevice *device);

// A run of text in one style: wrapped at the width it is given (never cut),
// or kept to one line and cut at the tail with "…". An optional glyph leads
// it, as a symbol leads a label. A QLabel, so screen readers read it as text.
class TextBlock : public QLabel {
public:
    enum class Lines { Wrap, OneLineElided };

    TextBlock(const QString &text, tokens::TypeStyle type, Ink ink, QWidget *parent = nullptr);

    void setInk(Ink ink);
    Ink ink() const { return m_ink; }
    void setLines(Lines lines);
    // A glyph of `size`, `spacing` before the text; centred on the first
    // line, or `top` below the block's top when given.
    void setGlyph(Glyph glyph, double size, double spacing = tokens::space::labelGlyphSpacing,
                  std::optional<double> top = std::nullopt);
    // The text as painted at the current width (with "…" when cut).
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return m_lines == Lines::Wrap; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double textIndent() const;

    tokens::TypeStyle m_type;
    Ink m_ink;
    Lines m_lines = Lines::Wrap;
    std::optional<Glyph> m_glyph;
    double m_glyphSize = 0;
    double m_glyphSpacing = 0;
    std::optional<double> m_glyphTop;
};

} // namespace tavolen::ui
