// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AnalysisPage.h"

#include "api/ServiceUrl.h"
#include "models/ModelCheck.h"
#include "models/ModelDetector.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tavolen::app {

namespace {

struct SettingsTexts {
    Q_DECLARE_TR_FUNCTIONS(SettingsTexts)
};

// What a row of the list stands for.
constexpr int kBaseUrlRole = Qt::UserRole;
constexpr int kModelRole = Qt::UserRole + 1;
constexpr int kOtherRole = Qt::UserRole + 2;

} // namespace

AnalysisPage::AnalysisPage(SettingsStore &settings, QNetworkAccessManager &network, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_network(network), m_heading(new QLabel(this)),
      m_current(new QLabel(this)), m_builtIn(new QRadioButton(this)), m_model(new QRadioButton(this)),
      m_serversLabel(new QLabel(this)), m_servers(new QListWidget(this)), m_lookAgain(new QPushButton(this)),
      m_otherForm(new QWidget(this)), m_urlLabel(new QLabel(this)), m_modelLabel(new QLabel(this)),
      m_keyLabel(new QLabel(this)), m_url(new QLineEdit(this)), m_modelName(new QLineEdit(this)),
      m_key(new QLineEdit(this)), m_readsPictures(new QCheckBox(this)), m_test(new QPushButton(this)),
      m_use(new QPushButton(this)), m_report(new QLabel(this))
{
    // Names for tests and for reading the window with accessibility tools.
    m_builtIn->setObjectName(QStringLiteral("builtIn"));
    m_model->setObjectName(QStringLiteral("languageModel"));
    m_servers->setObjectName(QStringLiteral("modelServers"));
    m_url->setObjectName(QStringLiteral("baseUrl"));
    m_modelName->setObjectName(QStringLiteral("modelName"));
    m_key->setObjectName(QStringLiteral("apiKey"));
    m_readsPictures->setObjectName(QStringLiteral("readsPictures"));
    m_test->setObjectName(QStringLiteral("test"));
    m_use->setObjectName(QStringLiteral("use"));
    m_report->setObjectName(QStringLiteral("report"));
    auto *column = new QVBoxLayout(this);
    QFont heading = m_heading->font();
    heading.setBold(true);
    m_heading->setFont(heading);
    column->addWidget(m_heading);
    m_current->setWordWrap(true);
    m_current->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_current);

    auto *group = new QButtonGroup(this);
    group->addButton(m_builtIn);
    group->addButton(m_model);
    column->addWidget(m_builtIn);
    column->addWidget(m_model);

    m_serversLabel->setBuddy(m_servers);
    column->addWidget(m_serversLabel);
    m_servers->setMinimumHeight(70);
    m_servers->setMaximumHeight(140);
    column->addWidget(m_servers);
    column->addWidget(m_lookAgain, 0, Qt::AlignLeft);

    auto *form = new QFormLayout(m_otherForm);
    form->setContentsMargins(0, 0, 0, 0);
    m_url->setPlaceholderText(QStringLiteral("https://api.openai.com/v1"));
    m_key->setEchoMode(QLineEdit::Password);
    m_urlLabel->setBuddy(m_url);
    m_modelLabel->setBuddy(m_modelName);
    m_keyLabel->setBuddy(m_key);
    form->addRow(m_urlLabel, m_url);
    form->addRow(m_modelLabel, m_modelName);
    form->addRow(m_keyLabel, m_key);
    column->addWidget(m_otherForm);
    column->addWidget(m_readsPictures);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_test);
    buttons->addWidget(m_use);
    buttons->addStretch(1);
    column->addLayout(buttons);
    m_report->setWordWrap(true);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_report);
    column->addStretch(1);

    connect(group, &QButtonGroup::buttonToggled, this, [this] { updateEnabled(); });
    connect(m_servers, &QListWidget::currentRowChanged, this, [this] {
        // Picking a server means picking a model.
        if (m_servers->currentItem())
            m_model->setChecked(true);
        updateEnabled();
    });
    for (QLineEdit *field : {m_url, m_modelName})
        connect(field, &QLineEdit::textChanged, this, [this] { updateEnabled(); });
    connect(m_lookAgain, &QAbstractButton::clicked, this, [this] { refresh(); });
    connect(m_test, &QAbstractButton::clicked, this, [this] { test(); });
    connect(m_use, &QAbstractButton::clicked, this, [this] { use(); });
    m_builtIn->setChecked(true);
    retranslate();
}

void AnalysisPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void AnalysisPage::retranslate()
{
    m_heading->setText(SettingsTexts::tr("What reads your screenshots"));
    m_builtIn->setText(SettingsTexts::tr("Built-in — reads the text and flags risk; no replies"));
    m_model->setText(SettingsTexts::tr("A language model — full readings and replies"));
    m_serversLabel->setText(SettingsTexts::tr("&Model servers on this computer:"));
    m_servers->setAccessibleName(SettingsTexts::tr("Model servers on this computer"));
    m_lookAgain->setText(SettingsTexts::tr("&Look again"));
    m_urlLabel->setText(SettingsTexts::tr("Base &URL:"));
    m_modelLabel->setText(SettingsTexts::tr("M&odel:"));
    m_keyLabel->setText(SettingsTexts::tr("API &key:"));
    m_key->setPlaceholderText(SettingsTexts::tr("none"));
    m_readsPictures->setText(
        SettingsTexts::tr("The model reads &pictures: send it the screenshot, and replies start sooner"));
    m_test->setText(SettingsTexts::tr("&Test"));
    m_use->setText(SettingsTexts::tr("&Use"));
    showEngine(m_engine);
    showFound(m_found);
}

void AnalysisPage::showEngine(const std::optional<models::EngineInfo> &engine)
{
    m_engine = engine;
    if (!engine)
        m_current->setText(SettingsTexts::tr("The analysis service does not answer now."));
    else if (!engine->writesReplies)
        m_current->setText(SettingsTexts::tr("Now: the built-in engine. Replies need a language model."));
    else
        m_current->setText(
            SettingsTexts::tr("Now: %1 at %2.").arg(engine->model, engine->baseUrl.toDisplayString()));
    m_current->setAccessibleName(m_current->text());
}

void AnalysisPage::showFound(const std::vector<models::ModelServer> &servers)
{
    m_found = servers;
    // The row chosen stays chosen when the list is filled again, by what it
    // stands for: a search that ends while the user types adds rows above it.
    const QListWidgetItem *chosen = m_servers->currentItem();
    const bool wasOther = chosen && chosen->data(kOtherRole).toBool();
    const QVariant wasUrl = chosen ? chosen->data(kBaseUrlRole) : QVariant();
    const QVariant wasModel = chosen ? chosen->data(kModelRole) : QVariant();
    const QSignalBlocker quiet(m_servers);
    m_servers->clear();
    for (const models::ModelServer &server : servers) {
        for (const QString &model : server.models) {
            auto *item = new QListWidgetItem(SettingsTexts::tr("%1 — %2").arg(server.name, model), m_servers);
            item->setData(kBaseUrlRole, server.baseUrl);
            item->setData(kModelRole, model);
            if (!wasOther && wasModel.isValid() && wasUrl == QVariant(server.baseUrl) && wasModel == model)
                m_servers->setCurrentItem(item);
        }
        if (server.models.isEmpty()) {
            auto *item = new QListWidgetItem(
                SettingsTexts::tr("%1 — no models yet; pull one first").arg(server.name), m_servers);
            item->setFlags(Qt::NoItemFlags);
        }
    }
    if (m_searched && servers.empty()) {
        auto *none = new QListWidgetItem(SettingsTexts::tr("None found (Ollama, llama.cpp, LM Studio, vLLM)"),
                                         m_servers);
        none->setFlags(Qt::NoItemFlags);
    }
    auto *other = new QListWidgetItem(SettingsTexts::tr("Other (OpenAI-compatible)…"), m_servers);
    other->setData(kOtherRole, true);
    if (wasOther)
        m_servers->setCurrentItem(other);
    updateEnabled();
}

bool AnalysisPage::otherChosen() const
{
    const QListWidgetItem *item = m_servers->currentItem();
    return item && item->data(kOtherRole).toBool();
}

std::optional<models::ModelEndpoint> AnalysisPage::chosenEndpoint() const
{
    if (!m_model->isChecked())
        return std::nullopt;
    if (otherChosen()) {
        const QUrl url = QUrl::fromUserInput(m_url->text().trimmed());
        if (m_url->text().trimmed().isEmpty() || m_modelName->text().trimmed().isEmpty())
            return std::nullopt;
        return models::ModelEndpoint{url, m_modelName->text().trimmed(), m_key->text().trimmed(),
                                     m_readsPictures->isChecked()};
    }
    const QListWidgetItem *item = m_servers->currentItem();
    if (!item || item->data(kModelRole).toString().isEmpty())
        return std::nullopt;
    return models::ModelEndpoint{item->data(kBaseUrlRole).toUrl(),
                                 item->data(kModelRole).toString(),
                                 {},
                                 m_readsPictures->isChecked()};
}

void AnalysisPage::updateEnabled()
{
    m_otherForm->setVisible(m_model->isChecked() && otherChosen());
    m_readsPictures->setVisible(m_model->isChecked());
    m_servers->setEnabled(!m_busy);
    m_lookAgain->setEnabled(!m_busy);
    const bool complete = chosenEndpoint().has_value();
    m_test->setEnabled(!m_busy && complete);
    m_use->setEnabled(!m_busy && (m_builtIn->isChecked() || complete));
}

void AnalysisPage::setReport(const QString &text)
{
    m_report->setText(text);
    // Read out by screen readers when it changes.
    m_report->setAccessibleName(text);
}

QString AnalysisPage::report() const
{
    return m_report->text();
}

models::ServiceTarget AnalysisPage::target() const
{
    return models::ServiceTarget{api::base(m_settings), models::serviceConfigDir()};
}

void AnalysisPage::refresh()
{
    QCoro::connect(models::serviceStatus(m_network, api::base(m_settings)), this,
                   [this](const std::optional<models::EngineInfo> &engine) {
                       showEngine(engine);
                       if (engine && engine->writesReplies)
                           m_model->setChecked(true);
                   });
    QCoro::connect(models::detectModelServers(m_network), this,
                   [this](const std::vector<models::ModelServer> &servers) {
                       m_searched = true;
                       showFound(servers);
                   });
}

void AnalysisPage::test()
{
    const std::optional<models::ModelEndpoint> endpoint = chosenEndpoint();
    if (!endpoint)
        return;
    m_busy = true;
    updateEnabled();
    setReport(SettingsTexts::tr("Asking %1 for one short reply…").arg(endpoint->model));
    QCoro::connect(models::checkModel(m_network, *endpoint), this,
                   [this, endpoint = *endpoint](const models::CheckOutcome &outcome) {
                       m_busy = false;
                       updateEnabled();
                       if (const auto *ms = std::get_if<std::chrono::milliseconds>(&outcome))
                           setReport(
                               SettingsTexts::tr("It answers: first token after %1 ms.").arg(ms->count()));
                       else
                           setReport(models::describe(std::get<models::CheckFailure>(outcome), endpoint));
                   });
}

void AnalysisPage::use()
{
    const std::optional<models::ModelEndpoint> endpoint = chosenEndpoint();
    if (!m_builtIn->isChecked() && !endpoint)
        return;
    m_busy = true;
    updateEnabled();
    if (m_builtIn->isChecked()) {
        setReport(SettingsTexts::tr("Switching to the built-in engine…"));
        QCoro::connect(models::useBuiltIn(m_network, target()), this,
                       [this](const models::UseOutcome &outcome) { finishUse(outcome, {}); });
        return;
    }
    setReport(SettingsTexts::tr("Checking %1, then switching…").arg(endpoint->model));
    QCoro::connect(
        models::useModel(m_network, target(), *endpoint, false), this,
        [this, endpoint = *endpoint](const models::UseOutcome &outcome) {
            if (!outcome.needsKeyFileConsent) {
                finishUse(outcome, endpoint);
                return;
            }
            // Without a keyring the key can only live in a file:
            // the user says whether it may.
            const auto answer =
                QMessageBox::question(this, SettingsTexts::tr("Keep the key in a file?"),
                                      outcome.problem + QStringLiteral("\n\n") +
                                          SettingsTexts::tr("Keep it in a file in %1 that only you can read?")
                                              .arg(models::serviceConfigDir()));
            if (answer != QMessageBox::Yes) {
                finishUse(outcome, endpoint);
                return;
            }
            QCoro::connect(models::useModel(m_network, target(), endpoint, true), this,
                           [this, endpoint](const models::UseOutcome &again) { finishUse(again, endpoint); });
        });
}

void AnalysisPage::finishUse(const models::UseOutcome &outcome, const models::ModelEndpoint &endpoint)
{
    m_busy = false;
    updateEnabled();
    if (!outcome.ok()) {
        setReport(outcome.problem);
        return;
    }
    showEngine(outcome.engine);
    if (!outcome.engine->writesReplies)
        setReport(SettingsTexts::tr("Done: the built-in engine reads your screenshots now."));
    else
        setReport(
            SettingsTexts::tr("Done: %1 writes your readings and replies now (first token after %2 ms).")
                .arg(endpoint.model)
                .arg(outcome.firstToken ? outcome.firstToken->count() : 0));
}

} // namespace tavolen::app
