// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

namespace tavolen {
class SettingsStore;
}

namespace tavolen::app {

// `tavolen model detect|use|status`: finds model servers on this computer,
// points the local analysis service at one (or back at its built-in
// engine) without a restart, and says what it runs. Returns the exit code.
int runModelCommand(const QStringList &arguments, SettingsStore &settings);

} // namespace tavolen::app
