// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ShellGallery.h"

#include "app/OnboardingView.h"
#include "app/PermissionCard.h"
#include "app/ToastView.h"
#include "flow/ErrorTexts.h"
#include "panel/Gallery.h"

namespace tavolen::app {

namespace {

QWidget *onboarding(bool granted)
{
    auto *view = new OnboardingView([] {}, [granted] { return granted; }, std::chrono::seconds(1));
    view->card()->setGranted(granted);
    return view;
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
    };
}

} // namespace tavolen::app
