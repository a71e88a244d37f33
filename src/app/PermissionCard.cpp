// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/PermissionCard.h"

#include "ui/Glass.h"
#include "ui/TextBlock.h"
#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QCoreApplication>

#include <QBoxLayout>
#include <QPainter>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct OnboardingTexts {
    Q_DECLARE_TR_FUNCTIONS(OnboardingTexts)
};

} // namespace

namespace o = ui::tokens::shell::onboarding;

namespace {

QString statusFor(bool granted)
{
    return granted ? OnboardingTexts::tr("Granted — relaunching…")
                   : OnboardingTexts::tr("Waiting for permission… (auto-relaunches once granted)");
}

} // namespace

PermissionCard::PermissionCard(QWidget *parent)
    : QWidget(parent), m_dot(new QWidget(this)),
      m_title(new ui::TextBlock({}, o::cardTitle, ui::Ink::Primary)),
      m_text(new ui::TextBlock({}, o::cardText, ui::Ink::Secondary)),
      m_status(new ui::TextBlock({}, o::status, ui::Ink::Secondary))
{
    retranslate();
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
    column->addWidget(m_title);
    column->addWidget(m_text);
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

void PermissionCard::retranslate()
{
    m_title->setText(OnboardingTexts::tr("One permission: Screen capture"));
    m_text->setText(
        OnboardingTexts::tr("Captures only the region you select, only when you press the hotkey. Deleted "
                            "after analysis. Never watches in the background."));
    m_status->setText(statusFor(m_granted));
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
