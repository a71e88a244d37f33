// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/MarkView.h"

#include "ui/Mark.h"

#include <QPainter>

#include <cmath>

namespace tavolen::ui {

MarkView::MarkView(double side, QColor colour, QWidget *parent) : QWidget(parent), m_colour(colour)
{
    const int s = int(std::ceil(side));
    setFixedSize(s, s);
}

void MarkView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintMark(painter, rect(), m_colour);
}

} // namespace tavolen::ui
