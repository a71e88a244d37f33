// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QWidget>

namespace tavolen::ui {

// The brand mark standing still, in one colour, filling a square of `side`.
class MarkView final : public QWidget {
public:
    MarkView(double side, QColor colour, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour;
};

} // namespace tavolen::ui
