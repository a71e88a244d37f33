// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/OnboardingView.h"

#include "app/PermissionCard.h"
#include "ui/Buttons.h"
#include "ui/MarkView.h"
#include "ui/TextBlock.h"
#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QCoreApplication>

#include <QBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct OnboardingTexts {
    Q_DECLARE_TR_FUNCTIONS(OnboardingTexts)
};

} // namespace

namespace o = ui::tokens::shell::onboarding;

namespace {

ui::TextBlock *centred(ui::TextBlock *text)
{
    text->setAlignment(Qt::AlignHCenter);
    return text;
}

} // namespace

OnboardingView::OnboardingView(std::function<void()> openSettings, std::function<bool()> isGranted,
                               std::chrono::milliseconds refresh)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_isGranted(std::move(isGranted)),
      m_headline(centred(new ui::TextBlock({}, o::headline, ui::Ink::Primary))),
      m_intro(centred(new ui::TextBlock({}, o::intro, ui::Ink::Secondary))), m_card(new PermissionCard),
      m_button(new ui::CapsuleButton({}, ui::CapsuleButton::Style::Large, nullptr))
{
    setWindowTitle(QStringLiteral("Tavolen"));

    auto *root = new QVBoxLayout(this);
    const int pad = int(o::padding);
    root->setContentsMargins(pad, int(o::paddingTop), pad, pad);
    root->setSpacing(int(o::spacing));
    root->addWidget(new ui::MarkView(o::mark, QColor(ui::tokens::shell::brandMark)), 0, Qt::AlignHCenter);
    root->addWidget(m_headline);
    root->addWidget(m_intro);
    root->addWidget(m_card);
    root->addWidget(m_button, 0, Qt::AlignHCenter);
    // A status line that needs fewer lines later leaves its room around the
    // content, not between the texts.
    root->insertStretch(0);
    root->addStretch();
    connect(m_button, &QAbstractButton::clicked, this, [action = std::move(openSettings)] {
        if (action)
            action();
    });

    retranslate();

    m_refresh.setInterval(refresh);
    connect(&m_refresh, &QTimer::timeout, this, [this] { m_card->setGranted(m_isGranted()); });
}

void OnboardingView::retranslate()
{
    m_headline->setText(OnboardingTexts::tr("Snap the screen. Know what to say."));
    m_intro->setText(
        OnboardingTexts::tr("See a post, comment, or DM you're unsure about? Press Alt+Shift+S and select it "
                            "— Tavolen reads the tone, judges the moment, and puts the right line on your "
                            "clipboard.") +
        QLatin1Char(' ') +
        OnboardingTexts::tr(
            "Suggested replies need a language model: connect one under Settings in the tray menu."));
    m_card->retranslate();
    m_button->setText(OnboardingTexts::tr("Allow Screen Capture"));
    // Fixed at its content's height for the fixed width: the window cannot
    // be resized, and another language may need more lines.
    ensurePolished();
    setFixedSize(int(o::width), layout()->totalHeightForWidth(int(o::width)));
}

void OnboardingView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void OnboardingView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_refresh.isActive())
        m_refresh.start();
}

void OnboardingView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_refresh.stop();
}

void OnboardingView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ui::Theme::resolve(o::background, palette()));
}

void OnboardingView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // The window manager moves the window where it can; otherwise we do.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragFrom = event->globalPosition().toPoint() - pos();
}

void OnboardingView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragFrom)
        move(event->globalPosition().toPoint() - *m_dragFrom);
}

void OnboardingView::mouseReleaseEvent(QMouseEvent *)
{
    m_dragFrom.reset();
}

} // namespace tavolen::app
