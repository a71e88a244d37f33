// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Glass.h"
#include "ui/Glyphs.h"
#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QAbstractButton>

namespace tavolen::ui {

class HoverLift;

// Buttons are pressed with the mouse, Space, Enter or Return, and show a
// focus ring when the keyboard has reached them.
class PanelButton : public QAbstractButton {
public:
    explicit PanelButton(QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintFocusRing(QPainter &painter, const QRectF &shape, double radius) const;
};

// A capsule with a title: on glass with the hover lift (the chips), filled
// with the accent colour (the prominent button), or that in a large size
// with the hover lift (a window's one call to action).
class CapsuleButton final : public PanelButton {
public:
    enum class Style { Glass, Prominent, Large };
    CapsuleButton(const QString &title, Style style, QWidget *parent);

    QSize sizeHint() const override;
    // A long title gives way, cut at the tail, down to a few characters.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF capsule() const;
    Style m_style;
    HoverLift *m_lift;
};

// A symbol as a button: the card's close button (on a circle, with the
// hover lift) or the pill's bare one.
class GlyphButton final : public PanelButton {
public:
    struct Look {
        Glyph glyph;
        double glyphSize;
        Ink ink;
        double circle = 0; // diameter of the backing circle; 0 for none
        bool lift = false;
    };
    GlyphButton(Look look, const QString &accessibleName, QWidget *parent);

    // The visible symbol or circle, in this widget's coordinates.
    QRectF face() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Look m_look;
    HoverLift *m_lift = nullptr;
};

// A button that is just its title in one style (the translation toggle).
class TextButton final : public PanelButton {
public:
    TextButton(const QString &title, tokens::TypeStyle type, Ink ink, QWidget *parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    tokens::TypeStyle m_type;
    Ink m_ink;
};

} // namespace tavolen::ui
