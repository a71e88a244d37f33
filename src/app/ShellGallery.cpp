// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ShellGallery.h"

#include "app/OnboardingView.h"
#include "app/PermissionCard.h"
#include "app/ToastView.h"

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
        {QStringLiteral("onboarding"), QStringLiteral("First run, screen access missing"),
         [] { return onboarding(false); }},
        {QStringLiteral("onboarding-granted"), QStringLiteral("First run, screen access given"),
         [] { return onboarding(true); }},
    };
}

} // namespace tavolen::app
