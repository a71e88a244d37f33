// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Theme.h"

#include <algorithm>

namespace tavolen::ui {

bool Theme::isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

QColor Theme::resolve(tokens::Appearance2 colour, const QPalette &palette)
{
    return QColor::fromRgb(isDark(palette) ? colour.dark : colour.light);
}

QColor resolve(Ink ink, const QPalette &palette)
{
    namespace c = tokens::color;
    const QColor label = Theme::resolve(c::labelBase, palette);
    switch (ink) {
    case Ink::Primary:
        return withAlpha(label, c::primaryAlpha);
    case Ink::Secondary:
        return withAlpha(label, c::secondaryAlpha);
    case Ink::Tertiary:
        return withAlpha(label, c::tertiaryAlpha);
    case Ink::Quaternary:
        return withAlpha(label, c::quaternaryAlpha);
    case Ink::Accent:
        return Theme::accent(palette);
    case Ink::Caution:
        return Theme::caution(palette);
    case Ink::Danger:
        return Theme::danger(palette);
    case Ink::OnAccent:
        return Qt::white;
    }
    return label;
}

QColor withAlpha(QColor colour, double opacity)
{
    colour.setAlphaF(float(std::clamp(colour.alphaF() * opacity, 0.0, 1.0)));
    return colour;
}

QColor brighten(QColor colour, double amount)
{
    const auto up = [amount](float v) { return std::clamp(v + float(amount), 0.0f, 1.0f); };
    return QColor::fromRgbF(up(colour.redF()), up(colour.greenF()), up(colour.blueF()), colour.alphaF());
}

} // namespace tavolen::ui
