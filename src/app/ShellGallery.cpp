// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ShellGallery.h"

#include "app/AnalysisPage.h"
#include "app/OnboardingView.h"
#include "app/PermissionCard.h"
#include "app/SettingsWindow.h"
#include "app/ToastView.h"
#include "core/MemorySettingsStore.h"
#include "flow/ErrorTexts.h"
#include "panel/Gallery.h"

#include <QListWidget>
#include <QNetworkAccessManager>

namespace tavolen::app {

namespace {

QWidget *onboarding(bool granted)
{
    auto *view = new OnboardingView([] {}, [granted] { return granted; }, std::chrono::seconds(1));
    view->card()->setGranted(granted);
    return view;
}

// A Settings window at `page`, as a user with Ollama running sees it; the
// window asks no one: what it would find is filled in.
QWidget *settings(SettingsWindow::Page page)
{
    static MemorySettingsStore store;
    static QNetworkAccessManager network;
    auto *window = new SettingsWindow({.settings = store, .network = network});
    window->setWindowFlags(Qt::Widget);
    window->analysis().showEngine(models::EngineInfo{QStringLiteral("offline"), {}, {}, false});
    window->analysis().showFound({{QStringLiteral("Ollama"),
                                   QUrl(QStringLiteral("http://127.0.0.1:11434/v1")),
                                   {QStringLiteral("qwen2.5:7b"), QStringLiteral("llama3.2:3b")}}});
    window->analysis().servers().setCurrentRow(0);
    window->setPage(page);
    return window;
}

} // namespace

std::vector<panel::GalleryEntry> shellGalleryEntries()
{
    return {
        {QStringLiteral("toast"), QStringLiteral("Ready toast"),
         [] {
             auto *toast = new ToastView(ui::Backdrop::Translucent);
             toast->resize(toast->fittingSize());
             // The picture shows it settled, not at the start of its entrance.
             toast->setGraphicsEffect(nullptr);
             return static_cast<QWidget *>(toast);
         }},
        {QStringLiteral("error-local-service"), QStringLiteral("Error: the local service is not running"),
         [] {
             return panel::fullCard(panel::PanelState::error(
                 flow::texts::transportFailure({.kind = api::TransportFailure::Kind::connectionRefused,
                                                .address = QStringLiteral("127.0.0.1:8765"),
                                                .localService = true,
                                                .detail = {}})));
         }},
        {QStringLiteral("onboarding"), QStringLiteral("First run, screen access missing"),
         [] { return onboarding(false); }},
        {QStringLiteral("onboarding-granted"), QStringLiteral("First run, screen access given"),
         [] { return onboarding(true); }},
        {QStringLiteral("settings-analysis"), QStringLiteral("Settings: Analysis"),
         [] { return settings(SettingsWindow::Page::Analysis); }},
        {QStringLiteral("settings-service"), QStringLiteral("Settings: Service"),
         [] { return settings(SettingsWindow::Page::Service); }},
        {QStringLiteral("settings-general"), QStringLiteral("Settings: General"),
         [] { return settings(SettingsWindow::Page::General); }},
    };
}

} // namespace tavolen::app
