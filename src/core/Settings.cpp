// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Settings.h"

#include "core/MemorySettingsStore.h"

namespace tavolen {

namespace {
SettingsStore *g_settings = nullptr;

SettingsStore &fallbackSettings()
{
    static MemorySettingsStore store;
    return store;
}
} // namespace

SettingsStore &settings()
{
    return g_settings ? *g_settings : fallbackSettings();
}

void installSettings(SettingsStore *store)
{
    g_settings = store;
}

} // namespace tavolen
