// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/InterfaceLanguage.h"
#include "core/SettingsStore.h"

#include <QStringList>

namespace tavolen::app {

// `tavolen settings [--page analysis|service|general]`: a running Tavolen
// shows its Settings; without one, the window is shown by this process
// until it is closed. Returns the exit code.
int runSettingsCommand(const QStringList &arguments, SettingsStore &settings, InterfaceLanguage &language);

} // namespace tavolen::app
