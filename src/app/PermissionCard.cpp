// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/PermissionCard.h"

#include "core/L.h"
#include "ui/Glass.h"
#include "ui/TextBlock.h"
#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QBoxLayout>
#include <QPainter>

namespace tavolen::app {

namespace o = ui::tokens::shell::onboarding;

namespace {

QString statusFor(bool granted)
{
    return granted ? L::text(QStringLiteral("Granted \u2014 relaunching\u2026"),
                             QStringLiteral("已授权，正在重启…"))
                   : L::text(QStringLiteral("Waiting for permission\u2026 (auto-relaunches once granted)"),
                             QStringLiteral("等待授权…（授权后会自动重启）"));
}

} // namespace

PermissionCard::PermissionCard(QWidget *parent)
    : QWidget(parent), m_dot(new QWidget(this)),
      m_status(new ui::TextBlock(statusFor(false), o::status, ui::Ink::Secondary))
{
    auto *title = new ui::TextBlock(
        L::text(QStringLiteral("One permission: Screen capture"), QStringLiteral("需要一次「屏幕捕获」授权")),
        o::cardTitle, ui::Ink::Primary);
    auto *text =
        new ui::TextBlock(L::text(QStringLiteral("Captures only the region you select, only when you "
                                                 "press the hotkey. Deleted after analysis. Never "
                                                 "watches in the background."),
                                  QStringLiteral("只在你按下快捷键时截取你框选的区域，分析完即删，"
                                                 "绝不后台监听。")),
                          o::cardText, ui::Ink::Secondary);

    m_dot->setFixedSize(int(o::statusDot), int(o::statusDot));
    auto *status = new QHBoxLayout;
    status->setContentsMargins(0, int(o::statusTop), 0, 0);
    status->setSpacing(int(o::statusSpacing));
    status->addWidget(m_dot, 0, Qt::AlignVCenter);
    status->addWidget(m_status, 1, Qt::AlignVCenter);

    auto *column = new QVBoxLayout(this);
    const int pad = int(o::cardPadding);
    column->setContentsMargins(pad, pad, pad, pad);
    column->setSpacing(int(o::cardSpacing));
    column->addWidget(title);
    column->addWidget(text);
    column->addLayout(status);
}

void PermissionCard::setGranted(bool granted)
{
    if (granted == m_granted)
        return;
    m_granted = granted;
    m_status->setText(statusFor(granted));
    update();
}

QString PermissionCard::statusText() const
{
    return m_status->text();
}

void PermissionCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    ui::paintGlass(painter, rect(), o::cardRadius, palette(), ui::Backdrop::Translucent);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_granted ? QColor(o::granted) : ui::Theme::caution(palette()));
    painter.drawEllipse(QRectF(m_dot->geometry()));
}

} // namespace tavolen::app
