// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tavolen {
class SettingsStore;
}
namespace tavolen::platform {
class ScreenAccess;
}

namespace tavolen::app {

enum class LaunchStep { ReadyToast, Demonstration, Onboarding };

// What a launch shows: the ready toast once the introduction is done; the
// demonstration (marking it done) when screen access is already there; the
// onboarding otherwise, leaving the mark unset until access is granted.
LaunchStep decideLaunch(SettingsStore &settings, const platform::ScreenAccess &access);

} // namespace tavolen::app
