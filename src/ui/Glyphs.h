// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace tavolen::ui {

// Our own small symbols for the ones the views name.
enum class Glyph {
    WarningTriangle, // a filled triangle with an exclamation mark cut out
    Globe,
    Checkmark,
    CheckCircle, // a filled circle with a checkmark cut out
    Book,
    Flame,
    Close,
    Lock,
};

// Draws `glyph` in the largest square centred in `box`; `bold` thickens strokes.
void paintGlyph(QPainter &painter, Glyph glyph, const QRectF &box, const QColor &colour, bool bold = false);

} // namespace tavolen::ui
