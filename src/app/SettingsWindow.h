// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QWidget>

#include <functional>

class QNetworkAccessManager;
class QTabWidget;

namespace tavolen::platform {
class GlobalHotKey;
}

namespace tavolen::app {

class AnalysisPage;
class GeneralPage;
class ServicePage;

// Settings: the analysis engine (built-in or a language model), the
// analysis service's address, and the app's general choices. Every change
// takes effect at once; there is nothing to save or restart.
class SettingsWindow final : public QWidget {
public:
    enum class Page { Analysis, Service, General };
    struct Parts {
        SettingsStore &settings;
        QNetworkAccessManager &network;
        // Null where there is no hot key (a Settings of its own).
        const platform::GlobalHotKey *hotKey = nullptr;
        // After the interface language was changed here.
        std::function<void()> languageChanged = {};
    };
    explicit SettingsWindow(Parts parts, QWidget *parent = nullptr);

    // Brings the window up at `page`, in front, with the keyboard.
    void showPage(Page page);
    // Turns to `page` without showing the window or asking anyone.
    void setPage(Page page);
    Page currentPage() const;
    AnalysisPage &analysis() { return *m_analysis; }
    ServicePage &service() { return *m_service; }
    GeneralPage &general() { return *m_general; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QTabWidget *m_tabs;
    AnalysisPage *m_analysis;
    ServicePage *m_service;
    GeneralPage *m_general;
};

} // namespace tavolen::app
