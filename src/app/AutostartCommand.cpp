// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AutostartCommand.h"

#include "core/L.h"

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

void say(const QString &en, const QString &zh, const QString &path)
{
    std::fprintf(stdout, "%s\n", qPrintable(L::text(en, zh).arg(path)));
}

int failure(const QString &message)
{
    std::fprintf(stderr, "tavolen autostart: %s\n", qPrintable(message));
    return kExitFailed;
}

int turnOn()
{
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failure(L::text(QStringLiteral("could not create the folder of %1."),
                               QStringLiteral("无法创建 %1 所在的文件夹。"))
                           .arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(autostartEntry(QCoreApplication::applicationFilePath()).toUtf8()) < 0 || !file.commit())
        return failure(L::text(QStringLiteral("could not write %1: %2"), QStringLiteral("无法写入 %1：%2"))
                           .arg(path, file.errorString()));
    say(QStringLiteral("Tavolen will start when you log in (%1)."),
        QStringLiteral("Tavolen 将在登录时启动（%1）。"), path);
    return kExitDone;
}

int turnOff()
{
    const QString path = entryPath();
    QFile file(path);
    if (!file.exists()) {
        say(QStringLiteral("Tavolen was not set to start at login; nothing to remove (%1)."),
            QStringLiteral("Tavolen 未设置为登录时启动，无需移除（%1）。"), path);
        return kExitDone;
    }
    if (!file.remove())
        return failure(L::text(QStringLiteral("could not remove %1: %2"), QStringLiteral("无法删除 %1：%2"))
                           .arg(path, file.errorString()));
    say(QStringLiteral("Tavolen will no longer start when you log in (removed %1)."),
        QStringLiteral("Tavolen 将不再在登录时启动（已删除 %1）。"), path);
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

int runAutostartCommand(const QStringList &arguments)
{
    if (arguments == QStringList{QStringLiteral("on")})
        return turnOn();
    if (arguments == QStringList{QStringLiteral("off")})
        return turnOff();
    std::fputs(qPrintable(L::text(QStringLiteral("Usage: tavolen autostart on|off\n"),
                                  QStringLiteral("用法：tavolen autostart on|off\n"))),
               stderr);
    return kExitUsage;
}

} // namespace tavolen::app
