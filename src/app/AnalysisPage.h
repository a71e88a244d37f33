// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"
#include "models/ModelServer.h"
#include "models/UseModel.h"

#include <QWidget>

#include <optional>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QNetworkAccessManager;
class QRadioButton;

namespace tavolen::app {

// Settings → Analysis: the built-in engine, or a language model found on
// this computer or named by hand, tested and put to use without a restart.
class AnalysisPage final : public QWidget {
public:
    AnalysisPage(SettingsStore &settings, QNetworkAccessManager &network, QWidget *parent = nullptr);

    // Asks the service which engine it runs and looks for model servers.
    void refresh();
    // Test: one tiny streamed reply from the chosen model.
    void test();
    // Use: the choice goes to the service, which takes it at once.
    void use();

    // For tests and the gallery: the line that reports on Test and Use.
    QString report() const;
    QListWidget &servers() { return *m_servers; }
    void showFound(const std::vector<models::ModelServer> &servers);
    void showEngine(const std::optional<models::EngineInfo> &engine);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void updateEnabled();
    // The model chosen on the page; nullopt for the built-in engine or an
    // incomplete form.
    std::optional<models::ModelEndpoint> chosenEndpoint() const;
    bool otherChosen() const;
    void setReport(const QString &text);
    void finishUse(const models::UseOutcome &outcome, const models::ModelEndpoint &endpoint);
    models::ServiceTarget target() const;

    SettingsStore &m_settings;
    QNetworkAccessManager &m_network;
    QLabel *m_heading;
    QLabel *m_current;
    QRadioButton *m_builtIn;
    QRadioButton *m_model;
    QLabel *m_serversLabel;
    QListWidget *m_servers;
    QAbstractButton *m_lookAgain;
    QWidget *m_otherForm;
    QLabel *m_urlLabel;
    QLabel *m_modelLabel;
    QLabel *m_keyLabel;
    QLineEdit *m_url;
    QLineEdit *m_modelName;
    QLineEdit *m_key;
    QCheckBox *m_readsPictures;
    QAbstractButton *m_test;
    QAbstractButton *m_use;
    QLabel *m_report;
    std::optional<models::EngineInfo> m_engine;
    std::vector<models::ModelServer> m_found;
    bool m_searched = false;
    bool m_busy = false;
};

} // namespace tavolen::app
