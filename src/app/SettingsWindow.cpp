// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/SettingsWindow.h"

#include "app/AnalysisPage.h"
#include "app/GeneralPage.h"
#include "app/ServicePage.h"
#include "app/TrayIcon.h"
#include "ui/Tokens.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

namespace tavolen::app {

namespace {

struct SettingsTexts {
    Q_DECLARE_TR_FUNCTIONS(SettingsTexts)
};

} // namespace

SettingsWindow::SettingsWindow(Parts parts, QWidget *parent)
    : QWidget(parent, Qt::Window), m_tabs(new QTabWidget(this)),
      m_analysis(new AnalysisPage(parts.settings, parts.network, this)),
      m_service(new ServicePage(parts.settings, parts.network, this)),
      m_general(new GeneralPage(parts.settings, parts.hotKey, parts.languageChanged, this))
{
    setWindowIcon(TrayIcon::markIcon());
    auto *column = new QVBoxLayout(this);
    const int pad = int(ui::tokens::space::contentPadding);
    column->setContentsMargins(pad, pad, pad, pad);
    m_tabs->addTab(m_analysis, QString());
    m_tabs->addTab(m_service, QString());
    m_tabs->addTab(m_general, QString());
    column->addWidget(m_tabs);
    // Esc closes, as in every small settings window of the desktop.
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    resize(560, 520);
    retranslate();
}

void SettingsWindow::setPage(Page page)
{
    m_tabs->setCurrentIndex(int(page));
}

void SettingsWindow::showPage(Page page)
{
    setPage(page);
    show();
    raise();
    activateWindow();
    m_tabs->currentWidget()->setFocus(Qt::TabFocusReason);
    if (page == Page::Analysis)
        m_analysis->refresh();
    else if (page == Page::Service)
        m_service->refresh();
}

SettingsWindow::Page SettingsWindow::currentPage() const
{
    return Page(m_tabs->currentIndex());
}

void SettingsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SettingsWindow::retranslate()
{
    setWindowTitle(SettingsTexts::tr("Tavolen Settings"));
    m_tabs->setTabText(int(Page::Analysis), SettingsTexts::tr("&Analysis"));
    m_tabs->setTabText(int(Page::Service), SettingsTexts::tr("&Service"));
    m_tabs->setTabText(int(Page::General), SettingsTexts::tr("&General"));
}

} // namespace tavolen::app
