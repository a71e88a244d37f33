// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LaunchDecision.h"

#include "core/Settings.h"
#include "platform/ScreenAccess.h"

namespace tavolen::app {

LaunchStep decideLaunch(SettingsStore &settings, const platform::ScreenAccess &access)
{
    if (keys::onboardDone.value(settings))
        return LaunchStep::ReadyToast;
    if (access.isPermitted()) {
        keys::onboardDone.set(settings, true);
        return LaunchStep::Demonstration;
    }
    return LaunchStep::Onboarding;
}

} // namespace tavolen::app
