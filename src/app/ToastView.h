// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Glass.h"

#include <QWidget>

namespace tavolen::ui {
class TextBlock;
}

namespace tavolen::app {

// The toast's capsule: the brand mark and one line saying that Tavolen is
// ready and which keys start a capture, in the language of the moment it
// is made. Fades in and grows from its top edge when first shown.
class ToastView final : public QWidget {
public:
    ToastView(ui::Backdrop backdrop, QWidget *parent = nullptr);

    QString text() const;
    // The size the content asks for when offered the toast's proposed width.
    QSize fittingSize() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ui::Backdrop m_backdrop;
    ui::TextBlock *m_text;
};

} // namespace tavolen::app
