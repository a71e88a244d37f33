// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/TiedProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace tavolen::test {

void tieToThisProcess(QProcess &process)
{
    const pid_t parent = ::getpid();
    // Runs in the child, after the fork and before the exec. The kernel sends
    // the signal when the *thread* that forked ends, not the whole process.
    // QProcess forks in the thread that calls start(); every helper here is
    // started from the main (GUI) thread, which lasts as long as the process.
    // The setting survives the exec, but not a change of user: setpriv needs
    // --pdeathsig=keep to hand it on.
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have died between the fork and the prctl: no signal
        // would come for it then.
        if (::getppid() != parent)
            ::_exit(127);
    });
}

int executeTied(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    tieToThisProcess(process);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.error() == QProcess::FailedToStart)
        return -2;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace tavolen::test
