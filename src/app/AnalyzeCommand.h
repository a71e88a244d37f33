// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/SettingsStore.h"

#include <QStringList>

namespace tavolen::app {

// `tavolen analyze [--plain] [--lang en|zh-Hans] IMAGE`: the reading without
// the panel, one JSON object a line on stdout. `arguments` excludes the
// program name and the word "analyze". Returns the process exit code.
int runAnalyzeCommand(const QStringList &arguments, SettingsStore &settings);

} // namespace tavolen::app
