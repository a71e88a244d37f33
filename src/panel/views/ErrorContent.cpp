// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/ErrorContent.h"

#include "panel/views/ReadingParts.h"
#include "ui/TextBlock.h"

#include <QBoxLayout>

namespace tavolen::panel::views {

namespace t = ui::tokens;

ErrorContent::ErrorContent(const QString &message, QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    const int pad = int(t::space::progressPadding);
    column->setContentsMargins(pad, pad, pad + int(t::space::errorTrailingExtra), pad);
    auto *text = new ui::TextBlock(message, t::type::body, ui::Ink::Primary, this);
    text->setObjectName(part::message);
    column->addWidget(text);
}

} // namespace tavolen::panel::views
