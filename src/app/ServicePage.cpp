// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ServicePage.h"

#include "api/ServiceUrl.h"
#include "core/Settings.h"
#include "models/ServiceControl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavolen::app {

namespace {

struct SettingsTexts {
    Q_DECLARE_TR_FUNCTIONS(SettingsTexts)
};

} // namespace

ServicePage::ServicePage(SettingsStore &settings, QNetworkAccessManager &network, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_network(network), m_heading(new QLabel(this)),
      m_explanation(new QLabel(this)), m_addressLabel(new QLabel(this)), m_address(new QLineEdit(this)),
      m_apply(new QPushButton(this)), m_report(new QLabel(this))
{
    auto *column = new QVBoxLayout(this);
    QFont heading = m_heading->font();
    heading.setBold(true);
    m_heading->setFont(heading);
    column->addWidget(m_heading);
    m_explanation->setWordWrap(true);
    column->addWidget(m_explanation);
    auto *form = new QFormLayout;
    m_addressLabel->setBuddy(m_address);
    m_address->setPlaceholderText(api::defaultBase().toString());
    m_address->setText(keys::apiBase.value(settings));
    form->addRow(m_addressLabel, m_address);
    column->addLayout(form);
    column->addWidget(m_apply, 0, Qt::AlignLeft);
    m_report->setWordWrap(true);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_report);
    column->addStretch(1);
    connect(m_apply, &QAbstractButton::clicked, this, [this] { apply(); });
    connect(m_address, &QLineEdit::returnPressed, this, [this] { apply(); });
    retranslate();
}

void ServicePage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void ServicePage::retranslate()
{
    m_heading->setText(SettingsTexts::tr("The analysis service"));
    m_explanation->setText(SettingsTexts::tr(
        "Screenshots are read by the service on this computer. If your team runs a shared one, enter its "
        "address; leave it empty for the one on this computer."));
    m_addressLabel->setText(SettingsTexts::tr("&Address:"));
    m_apply->setText(SettingsTexts::tr("Save and &check"));
}

void ServicePage::refresh()
{
    m_address->setText(keys::apiBase.value(m_settings));
    check();
}

void ServicePage::apply()
{
    const QString typed = m_address->text().trimmed();
    if (typed.isEmpty()) {
        keys::apiBase.remove(m_settings);
    } else if (api::usableBase(QUrl(typed, QUrl::StrictMode))) {
        keys::apiBase.set(m_settings, typed);
    } else {
        m_report->setText(
            SettingsTexts::tr("“%1” is not an http or https address; nothing was changed.").arg(typed));
        m_report->setAccessibleName(m_report->text());
        return;
    }
    check();
}

void ServicePage::check()
{
    const QUrl base = api::base(m_settings);
    m_report->setText(SettingsTexts::tr("Checking %1…").arg(base.toDisplayString()));
    QCoro::connect(
        models::serviceStatus(m_network, base), this,
        [this, base](const std::optional<models::EngineInfo> &engine) {
            if (!engine)
                m_report->setText(SettingsTexts::tr("%1 does not answer.").arg(base.toDisplayString()));
            else if (!engine->writesReplies)
                m_report->setText(SettingsTexts::tr("%1 answers; it runs the built-in engine (no replies).")
                                      .arg(base.toDisplayString()));
            else
                m_report->setText(
                    SettingsTexts::tr("%1 answers; it runs %2.").arg(base.toDisplayString(), engine->model));
            m_report->setAccessibleName(m_report->text());
        });
}

QString ServicePage::report() const
{
    return m_report->text();
}

} // namespace tavolen::app
