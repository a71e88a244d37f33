// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavolen::test {

struct CommandRun {
    int exitCode = -1;
    QString output;           // stdout
    QString errors;           // stderr
    QList<QJsonObject> lines; // stdout's lines; a line that is not one JSON object is empty
};

// The built `tavolen` as people run it, in a process of its own, without a
// display, with a configuration directory of its own.
class TavolenCommand : public ::testing::Test {
protected:
    QString configPath() const { return m_home.filePath(QStringLiteral("tavolen/tavolen.conf")); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
        for (const char *name :
             {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        return env;
    }

    // `tavolen ARGUMENTS`, to its end.
    CommandRun launch(const QStringList &arguments, const QProcessEnvironment &env)
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TAVOLEN_BINARY), arguments);
        if (!process.waitForFinished(30000))
            process.kill();
        CommandRun out;
        out.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        out.errors = QString::fromUtf8(process.readAllStandardError());
        const QByteArray output = process.readAllStandardOutput();
        out.output = QString::fromUtf8(output);
        for (const QByteArray &line : output.split('\n'))
            if (!line.isEmpty())
                out.lines.append(QJsonDocument::fromJson(line).object());
        return out;
    }

    QTemporaryDir m_home;
};

} // namespace tavolen::test
