// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AutostartCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct AutostartTexts {
    Q_DECLARE_TR_FUNCTIONS(AutostartTexts)
};

} // namespace

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

QString entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/tavolen.desktop");
}

// An Exec argument as the desktop entry format wants it: quoted when it has
// anything the launcher would split or expand, then escaped once more for
// the key file's own string syntax.
QString execArgument(const QString &path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString arg = path;
    arg.replace(u'%', QStringLiteral("%%"));
    if (std::any_of(arg.begin(), arg.end(), [](QChar c) { return reserved.contains(c); })) {
        QString quoted;
        for (const QChar c : arg) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        arg = u'"' + quoted + u'"';
    }
    arg.replace(u'\\', QStringLiteral("\\\\"));
    return arg;
}

void say(const QString &text)
{
    std::fprintf(stdout, "%s\n", qPrintable(text));
}

int failure(const QString &message)
{
    std::fprintf(stderr, "tavolen autostart: %s\n", qPrintable(message));
    return kExitFailed;
}

int turnOn()
{
    if (const QString problem = setAutostart(true); !problem.isEmpty())
        return failure(problem);
    say(AutostartTexts::tr("Tavolen will start when you log in (%1).").arg(entryPath()));
    return kExitDone;
}

int turnOff()
{
    const QString path = entryPath();
    if (!QFile::exists(path)) {
        say(AutostartTexts::tr("Tavolen was not set to start at login; nothing to remove (%1).").arg(path));
        return kExitDone;
    }
    if (const QString problem = setAutostart(false); !problem.isEmpty())
        return failure(problem);
    say(AutostartTexts::tr("Tavolen will no longer start when you log in (removed %1).").arg(path));
    return kExitDone;
}

} // namespace

QString autostartEntry(const QString &program)
{
    QFile source(QStringLiteral(":/tavolen.desktop"));
    source.open(QIODevice::ReadOnly);
    QString entry;
    for (const QString &line : QString::fromUtf8(source.readAll()).split(u'\n')) {
        if (line.isEmpty())
            continue;
        entry +=
            line.startsWith(QLatin1String("Exec=")) ? QStringLiteral("Exec=") + execArgument(program) : line;
        entry += u'\n';
    }
    return entry + QStringLiteral("X-GNOME-Autostart-enabled=true\n");
}

bool startsAtLogin()
{
    return QFile::exists(entryPath());
}

QString setAutostart(bool on)
{
    const QString path = entryPath();
    if (!on) {
        QFile file(path);
        if (file.exists() && !file.remove())
            return AutostartTexts::tr("could not remove %1: %2").arg(path, file.errorString());
        return {};
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return AutostartTexts::tr("could not create the folder of %1.").arg(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(autostartEntry(QCoreApplication::applicationFilePath()).toUtf8()) < 0 || !file.commit())
        return AutostartTexts::tr("could not write %1: %2").arg(path, file.errorString());
    return {};
}

int runAutostartCommand(const QStringList &arguments)
{
    if (arguments == QStringList{QStringLiteral("on")})
        return turnOn();
    if (arguments == QStringList{QStringLiteral("off")})
        return turnOff();
    std::fputs(qPrintable(AutostartTexts::tr("Usage: tavolen autostart on|off\n")), stderr);
    return kExitUsage;
}

} // namespace tavolen::app
