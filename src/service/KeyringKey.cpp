// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/KeyringKey.h"

#include "protocol/LocalControl.h"

#include <qt6keychain/keychain.h>

namespace tavolen::service {

void readKeyringKey(std::function<void(const KeyRead &)> done)
{
    auto *job = new QKeychain::ReadPasswordJob(QLatin1String(protocol::kKeyringService));
    job->setKey(QLatin1String(protocol::kKeyringKey));
    // Only the Secret Service: QtKeychain's fallback is a plain settings file.
    job->setInsecureFallback(false);
    job->setAutoDelete(true);
    QObject::connect(job, &QKeychain::Job::finished, job, [done = std::move(done)](QKeychain::Job *finished) {
        const auto *read = static_cast<QKeychain::ReadPasswordJob *>(finished);
        if (read->error() == QKeychain::NoError && !read->textData().isEmpty()) {
            done({read->textData(), {}});
            return;
        }
        const QString where =
            QStringLiteral("the API key in the keyring (service \"%1\", key \"%2\")")
                .arg(QLatin1String(protocol::kKeyringService), QLatin1String(protocol::kKeyringKey));
        if (read->error() == QKeychain::EntryNotFound || read->error() == QKeychain::NoError)
            done({{}, where + QStringLiteral(" is not there; store it with \"tavolen model use\"")});
        else
            done({{}, where + QStringLiteral(" cannot be read: %1").arg(read->errorString())});
    });
    job->start();
}

} // namespace tavolen::service
