// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRectF>
#include <QString>

namespace tavolen::capture {

// The one-line instruction drawn at the top of every screen, in the
// interface language of the moment; without windows to pick, it speaks of
// regions only.
QString hintText(bool windowsPickable = true);

// The pill around the hint text: centred, 14 px padding left and right, 7 px
// above and below, its bottom edge 64 px below the top of the screen.
QRectF hintPillRect(QSizeF textSize, QSizeF screenSize);

} // namespace tavolen::capture
