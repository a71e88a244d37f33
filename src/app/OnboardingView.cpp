// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/OnboardingView.h"

#include "app/PermissionCard.h"
#include "core/L.h"
#include "ui/Buttons.h"
#include "ui/MarkView.h"
#include "ui/TextBlock.h"
#include "ui/Theme.h"
#include "ui/Tokens.h"

#include <QBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace tavolen::app {

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
      m_isGranted(std::move(isGranted)), m_card(new PermissionCard),
      m_button(new ui::CapsuleButton(
          L::text(QStringLiteral("Allow Screen Capture"), QStringLiteral("允许屏幕捕获")),
          ui::CapsuleButton::Style::Large, nullptr))
{
    setWindowTitle(QStringLiteral("Tavolen"));

    auto *headline = centred(new ui::TextBlock(L::text(QStringLiteral("Snap the screen. Know what to say."),
                                                       QStringLiteral("截图一下，马上知道怎么回。")),
                                               o::headline, ui::Ink::Primary));
    auto *intro = centred(new ui::TextBlock(
        L::text(
            QStringLiteral("See a post, comment, or DM you're unsure about? Press Alt+Shift+S and select it "
                           "\u2014 Tavolen reads the tone, judges the moment, and puts the right line on "
                           "your clipboard."),
            QStringLiteral("看到看不懂、拿不准的帖子、评论或私信，按 Alt+Shift+S 框选它——Tavolen "
                           "读懂语气、给出判断，把最合适的一句话放进剪贴板。")),
        o::intro, ui::Ink::Secondary));

    auto *root = new QVBoxLayout(this);
    const int pad = int(o::padding);
    root->setContentsMargins(pad, int(o::paddingTop), pad, pad);
    root->setSpacing(int(o::spacing));
    root->addWidget(new ui::MarkView(o::mark, QColor(ui::tokens::shell::brandMark)), 0, Qt::AlignHCenter);
    root->addWidget(headline);
    root->addWidget(intro);
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

    // Fixed at its content's height for the fixed width: the window cannot be resized.
    ensurePolished();
    setFixedSize(int(o::width), root->totalHeightForWidth(int(o::width)));

    m_refresh.setInterval(refresh);
    connect(&m_refresh, &QTimer::timeout, this, [this] { m_card->setGranted(m_isGranted()); });
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
