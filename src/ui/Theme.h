// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Tokens.h"

#include <QColor>
#include <QPalette>

namespace tavolen::ui {

// The colours of the panel, resolved against the palette at every paint, so
// that a switch between light and dark repaints in the new colours.
namespace Theme {

// Dark when the palette's window colour is darker than mid grey; anything
// else (including a palette that says neither) counts as light.
bool isDark(const QPalette &palette);

QColor resolve(tokens::Appearance2 colour, const QPalette &palette);

inline QColor accent(const QPalette &p)
{
    return resolve(tokens::color::accent, p);
}
inline QColor caution(const QPalette &p)
{
    return resolve(tokens::color::caution, p);
}
inline QColor danger(const QPalette &p)
{
    return resolve(tokens::color::danger, p);
}

} // namespace Theme

// What a piece of text or a glyph is painted in.
enum class Ink { Primary, Secondary, Tertiary, Quaternary, Accent, Caution, Danger, OnAccent };

QColor resolve(Ink ink, const QPalette &palette);

// `colour` with its alpha multiplied by `opacity`.
QColor withAlpha(QColor colour, double opacity);
// Every channel raised by `amount` (0..1 of full scale), as a hover brightens.
QColor brighten(QColor colour, double amount);

} // namespace tavolen::ui
