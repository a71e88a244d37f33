// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ModelChoice.h"

#include "protocol/LocalControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tavolen::models {

namespace {

struct ModelTexts {
    Q_DECLARE_TR_FUNCTIONS(ModelTexts)
};

// A TOML basic string: quotes, backslashes and control characters escaped.
QByteArray tomlString(const QString &text)
{
    QByteArray out = "\"";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\')
            out += '\\' + QByteArray(1, char(u));
        else if (u < 0x20 || u == 0x7f)
            out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1();
        else
            out += QString(c).toUtf8();
    }
    return out + '"';
}

} // namespace

QString serviceConfigDir(const QProcessEnvironment &env)
{
    const QString named = env.value(QStringLiteral("TAVOLEN_SERVICE_CONFIG"));
    if (!named.isEmpty())
        return QFileInfo(named).absolutePath();
    QString config = env.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/tavolen");
}

QByteArray modelChoiceToml(const ModelChoice &choice)
{
    QByteArray toml =
        "# Written by Tavolen (Settings, or `tavolen model use`); it is read after service.toml\n"
        "# and wins over it. Edit service.toml for everything else.\n";
    if (choice.offline)
        return toml + "engine = \"offline\"\n";
    toml += "engine = \"llm\"\n\n[llm]\n";
    toml += "base_url = " + tomlString(choice.baseUrl.toString()) + '\n';
    toml += "model = " + tomlString(choice.model) + '\n';
    if (choice.key == KeySource::Keyring)
        toml += "api_key = \"keyring\"\n";
    else if (choice.key == KeySource::File)
        toml += "api_key = \"file\"\n";
    if (choice.readsPictures)
        toml += "vision = true\n";
    return toml;
}

KeySource storedKeySource(const QString &dir)
{
    QFile file(dir + QLatin1Char('/') + QLatin1String(protocol::kModelChoiceFile));
    if (!file.open(QIODevice::ReadOnly))
        return KeySource::None;
    // The file is ours, written by modelChoiceToml: one key a line.
    for (const QByteArray &line : file.read(64 * 1024).split('\n')) {
        const QByteArray simple = line.simplified();
        if (simple == "api_key = \"keyring\"")
            return KeySource::Keyring;
        if (simple == "api_key = \"file\"")
            return KeySource::File;
    }
    return KeySource::None;
}

QString writeModelChoice(const QString &dir, const ModelChoice &choice)
{
    if (!QDir().mkpath(dir))
        return ModelTexts::tr("Cannot create the folder %1.").arg(dir);
    QSaveFile file(dir + QLatin1Char('/') + QLatin1String(protocol::kModelChoiceFile));
    if (!file.open(QIODevice::WriteOnly))
        return ModelTexts::tr("Cannot write %1: %2").arg(file.fileName(), file.errorString());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(modelChoiceToml(choice));
    if (!file.commit())
        return ModelTexts::tr("Cannot write %1: %2").arg(file.fileName(), file.errorString());
    return {};
}

} // namespace tavolen::models
