// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace tavolen::app {

// The launcher entry, made to start `program` (an absolute path) at login.
QString autostartEntry(const QString &program);

// Whether the autostart entry is there.
bool startsAtLogin();
// Writes the entry for this very program, or removes it; an empty text on
// success, else what went wrong.
QString setAutostart(bool on);

// `tavolen autostart on|off`: adds or removes the XDG autostart entry in
// $XDG_CONFIG_HOME/autostart. `arguments` excludes the program name and the
// word "autostart". Returns the process exit code.
int runAutostartCommand(const QStringList &arguments);

} // namespace tavolen::app
