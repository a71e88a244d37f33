// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/DemoPost.h"

#include "ui/TextBlock.h"
#include "ui/Tokens.h"

#include <QBoxLayout>
#include <QPainter>

namespace tavolen::app {

namespace p = ui::tokens::shell::demoPost;

namespace {

// A palette that reads as light whatever the desktop's, so the ink of the
// texts resolves to dark on white.
QPalette lightPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    return palette;
}

} // namespace

DemoPost::DemoPost(QWidget *parent)
    : QWidget(parent), m_avatar(new QWidget(this)), m_bubble(new QWidget(this))
{
    setPalette(lightPalette());
    setFixedWidth(int(p::width));

    m_avatar->setFixedSize(int(p::avatar), int(p::avatar));
    auto *names = new QVBoxLayout;
    names->setSpacing(int(p::nameSpacing));
    // Centred beside the taller avatar.
    names->addStretch();
    names->addWidget(new ui::TextBlock(QStringLiteral("Ilvo Marsk"), p::name, ui::Ink::Primary));
    names->addWidget(new ui::TextBlock(QStringLiteral("2:47 PM"), p::time, ui::Ink::Secondary));
    names->addStretch();
    auto *header = new QHBoxLayout;
    header->setSpacing(int(p::spacing));
    header->addWidget(m_avatar, 0, Qt::AlignVCenter);
    header->addLayout(names, 1);

    auto *message = new ui::TextBlock(
        QStringLiteral(
            "Hey, saw your latest post. Interesting take \u2014 though I'm not sure it really works "
            "that way in practice. Happy to chat if you ever want a reality check :)"),
        p::message, ui::Ink::Primary);
    auto *inBubble = new QVBoxLayout(m_bubble);
    const int pad = int(p::bubblePadding);
    inBubble->setContentsMargins(pad, pad, pad, pad);
    inBubble->addWidget(message);

    auto *root = new QVBoxLayout(this);
    const int margin = int(p::padding);
    root->setContentsMargins(margin, margin, margin, margin);
    root->setSpacing(int(p::spacing));
    root->addLayout(header);
    root->addWidget(m_bubble);
}

QSize DemoPost::sizeHint() const
{
    return QSize(int(p::width), heightForWidth(int(p::width)));
}

void DemoPost::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::NoPen);

    painter.setBrush(QColor(p::bubble));
    painter.drawRoundedRect(QRectF(m_bubble->geometry()), p::bubbleRadius, p::bubbleRadius);

    const QRectF avatar(m_avatar->geometry());
    painter.setBrush(QColor(p::avatarColour));
    painter.drawEllipse(avatar);
    painter.setPen(Qt::white);
    painter.setFont(ui::makeFont(p::initial, this));
    painter.drawText(avatar, Qt::AlignCenter, QStringLiteral("I"));
}

} // namespace tavolen::app
