// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TavolenCommand.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

// `tavolen autostart …` as people run it, with a configuration folder of its own.
class AutostartCommand : public tavolen::test::TavolenCommand {
protected:
    QString entryPath() const { return m_home.filePath(QStringLiteral("autostart/tavolen.desktop")); }

    tavolen::test::CommandRun run(const QStringList &arguments, const QString &appLang = QStringLiteral("en"))
    {
        QSettings(configPath(), QSettings::IniFormat).setValue("app_lang", appLang);
        return launch(QStringList(QStringLiteral("autostart")) + arguments, environment());
    }

    // The entry's "key=value" lines.
    QHash<QString, QString> entry() const
    {
        QFile file(entryPath());
        file.open(QIODevice::ReadOnly);
        QHash<QString, QString> keys;
        for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n'))
            if (const qsizetype eq = line.indexOf(u'='); eq > 0)
                keys.insert(line.left(eq), line.mid(eq + 1));
        return keys;
    }
};

} // namespace

TEST_F(AutostartCommand, OnWritesAValidEntryThatStartsThisVeryProgram)
{
    const tavolen::test::CommandRun r = run({"on"});
    ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_TRUE(r.output.contains(entryPath())) << r.output.toStdString();
    const QHash<QString, QString> keys = entry();
    EXPECT_EQ(keys.value("Exec"), QFileInfo(QStringLiteral(TAVOLEN_BINARY)).canonicalFilePath());
    EXPECT_EQ(keys.value("Type"), "Application");
    EXPECT_EQ(keys.value("Icon"), "tavolen");
    EXPECT_EQ(keys.value("X-GNOME-Autostart-enabled"), "true");
    EXPECT_EQ(keys.value("Comment[zh_CN]"), "读懂屏幕上的帖子、评论和私信，并给出回复");

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    ASSERT_FALSE(validator.isEmpty()) << "scripts/setup installs desktop-file-utils";
    QProcess validate;
    validate.start(validator, {entryPath()});
    validate.waitForFinished(30000);
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().toStdString();

    EXPECT_EQ(run({"on"}).exitCode, 0) << "turning it on again is no error";
    EXPECT_EQ(entry(), keys);
}

TEST_F(AutostartCommand, OffRemovesTheEntryAndIsFineWithoutOne)
{
    ASSERT_EQ(run({"on"}).exitCode, 0);
    tavolen::test::CommandRun r = run({"off"}, QStringLiteral("zh"));
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_FALSE(QFile::exists(entryPath()));
    EXPECT_TRUE(r.output.startsWith(QString::fromUtf8("Tavolen 将不再在登录时启动")))
        << r.output.toStdString();

    r = run({"off"});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_TRUE(r.output.contains("nothing to remove")) << r.output.toStdString();
}

TEST_F(AutostartCommand, RejectsAnythingButOnOrOff)
{
    for (const QStringList &arguments : {QStringList{}, QStringList{"yes"}, QStringList{"on", "off"}}) {
        const tavolen::test::CommandRun r = run(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.errors.contains("tavolen autostart on|off")) << r.errors.toStdString();
    }
    EXPECT_FALSE(QFile::exists(entryPath()));
}
