// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/PermissionContent.h"

#include "panel/PanelActions.h"
#include "panel/views/PanelTexts.h"
#include "panel/views/ReadingParts.h"
#include "ui/Buttons.h"
#include "ui/TextBlock.h"

#include <QBoxLayout>

namespace tavolen::panel::views {

namespace t = ui::tokens;

PermissionContent::PermissionContent(std::function<void()> requestAccess, QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    const int pad = int(t::space::progressPadding);
    column->setContentsMargins(pad, pad, pad, pad);
    column->setSpacing(int(t::space::contentSpacing));
    auto *text = new ui::TextBlock(texts::permission(), t::type::body, ui::Ink::Primary, this);
    text->setObjectName(part::message);
    auto *button =
        new ui::CapsuleButton(texts::permissionButton(), ui::CapsuleButton::Style::Prominent, this);
    button->setObjectName(part::accessButton);
    connect(button, &QAbstractButton::clicked, this, [requestAccess] { call(requestAccess); });
    auto *textRow = new QHBoxLayout;
    textRow->setContentsMargins(0, 0, int(t::space::permissionTrailing), 0);
    textRow->addWidget(text);
    column->addLayout(textRow);
    column->addWidget(button, 0, Qt::AlignLeft);
}

} // namespace tavolen::panel::views
