// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

namespace tavolen::app {

// `tavolen capture`: one interactive capture run started at once, shown in
// the result panel, with each panel state also printed as a JSON line on
// stdout. The process stays while the panel is up (and with it the copied
// reply, which X11 keeps only while its owner runs), then exits: 0 when the
// run ended with a result, 1 with an error (or no permission), 3 when the
// selection was cancelled. Needs the QApplication.
int runCaptureCommand(SettingsStore &settings);

} // namespace tavolen::app
