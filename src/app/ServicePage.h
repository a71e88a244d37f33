// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QWidget>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;

namespace tavolen::app {

// Settings → Service: the analysis service's address, for people who use a
// shared one, with a check that it answers.
class ServicePage final : public QWidget {
public:
    ServicePage(SettingsStore &settings, QNetworkAccessManager &network, QWidget *parent = nullptr);

    // Shows the stored address and checks it.
    void refresh();
    // Stores the address typed (empty: the built-in service) and checks it.
    void apply();
    QString report() const;
    QLineEdit &address() { return *m_address; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void check();

    SettingsStore &m_settings;
    QNetworkAccessManager &m_network;
    QLabel *m_heading;
    QLabel *m_explanation;
    QLabel *m_addressLabel;
    QLineEdit *m_address;
    QAbstractButton *m_apply;
    QLabel *m_report;
};

} // namespace tavolen::app
