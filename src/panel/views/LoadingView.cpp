// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/LoadingView.h"

#include "panel/views/PanelTexts.h"
#include "panel/views/ReadingParts.h"

#include <QBoxLayout>

namespace tavolen::panel::views {

namespace t = ui::tokens;

LoadingView::LoadingView(QWidget *parent) : QWidget(parent)
{
    QHBoxLayout *row = makeProgressRow(this, t::size::loadingMark, texts::loading(), t::type::body,
                                       ui::Ink::Secondary, t::space::progressSpacing);
    const int pad = int(t::space::progressPadding);
    row->setContentsMargins(pad, pad, pad, pad);
    setLayout(row);
}

} // namespace tavolen::panel::views
