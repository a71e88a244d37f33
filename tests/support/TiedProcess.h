// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tavolen::test {

// Has `process`, once started, killed with SIGKILL as soon as this process
// ends, however it ends: a helper a benchmark or test starts (an X server, a
// service, a tool) must not live on after a crash, holding a display or a
// port. Replaces any child process modifier set before. Start the process
// from the main thread (see the definition).
void tieToThisProcess(QProcess &process);

// QProcess::execute() for a helper tied to this process: its output
// forwarded, waited for without a limit. Its exit code; -1 if it crashed,
// -2 if it did not start.
int executeTied(const QString &program, const QStringList &arguments);

} // namespace tavolen::test
