// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ApiKeyStore.h"

#include "core/Log.h"
#include "protocol/LocalControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <qcoro/qcorosignal.h>
#include <qt6keychain/keychain.h>

namespace tavolen::models {

namespace {

struct ModelTexts {
    Q_DECLARE_TR_FUNCTIONS(ModelTexts)
};

// Runs a keychain job to its end without blocking, and lets it go after.
QCoro::Task<std::pair<QKeychain::Error, QString>> run(QKeychain::Job *job)
{
    job->setAutoDelete(false);
    job->start();
    co_await qCoro(job, &QKeychain::Job::finished);
    const auto outcome = std::make_pair(job->error(), job->errorString());
    job->deleteLater();
    co_return outcome;
}

} // namespace

QCoro::Task<KeyStored> storeKeyInKeyring(QString key)
{
    auto *job = new QKeychain::WritePasswordJob(QString::fromLatin1(protocol::kKeyringService));
    job->setKey(QString::fromLatin1(protocol::kKeyringKey));
    job->setTextData(key);
    const auto [error, detail] = co_await run(job);
    // Never the key; the keyring's own words say which keyring failed.
    qCInfo(lcModels) << "keyring write:" << int(error) << detail;
    if (error == QKeychain::NoError)
        co_return KeyStored{true, {}};
    if (error == QKeychain::AccessDeniedByUser)
        co_return KeyStored{false, ModelTexts::tr("The keyring was not unlocked.")};
    co_return KeyStored{false, ModelTexts::tr("No keyring answered (%1).").arg(detail)};
}

KeyStored storeKeyInFile(const QString &dir, const QString &key)
{
    if (!QDir().mkpath(dir))
        return {false, ModelTexts::tr("Cannot create the folder %1.").arg(dir)};
    QSaveFile file(dir + QLatin1Char('/') + QLatin1String(protocol::kKeyFileName));
    // QSaveFile writes a new file: its permissions are set before the key
    // goes in, so the key is never readable by anyone else.
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return {false, ModelTexts::tr("Cannot write %1: %2").arg(file.fileName(), file.errorString())};
    file.write(key.toUtf8());
    if (!file.commit())
        return {false, ModelTexts::tr("Cannot write %1: %2").arg(file.fileName(), file.errorString())};
    return {true, {}};
}

QCoro::Task<> forgetKey(QString dir)
{
    QFile::remove(dir + QLatin1Char('/') + QLatin1String(protocol::kKeyFileName));
    // The keyring is asked only when the choice kept a key there: asking
    // wakes (or starts) the desktop's keyring service for nothing otherwise.
    if (storedKeySource(dir) != KeySource::Keyring)
        co_return;
    auto *job = new QKeychain::DeletePasswordJob(QString::fromLatin1(protocol::kKeyringService));
    job->setKey(QString::fromLatin1(protocol::kKeyringKey));
    const auto outcome = co_await run(job);
    qCDebug(lcModels) << "keyring delete:" << int(outcome.first);
}

} // namespace tavolen::models
