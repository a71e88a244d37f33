// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/UseModel.h"

#include "models/ApiKeyStore.h"
#include "models/ModelCheck.h"
#include "protocol/LocalControl.h"

#include <QCoreApplication>
#include <QFile>

namespace tavolen::models {

namespace {

struct ModelTexts {
    Q_DECLARE_TR_FUNCTIONS(ModelTexts)
};

QCoro::Task<UseOutcome> switchService(QNetworkAccessManager &network, const ServiceTarget &target,
                                      ModelChoice choice, UseOutcome outcome)
{
    if (const QString problem = writeModelChoice(target.configDir, choice); !problem.isEmpty()) {
        outcome.problem = problem;
        co_return outcome;
    }
    std::variant<EngineInfo, QString> reloaded = co_await reloadService(network, target.apiBase, target.env);
    if (auto *problem = std::get_if<QString>(&reloaded))
        outcome.problem = *problem;
    else
        outcome.engine = std::get<EngineInfo>(std::move(reloaded));
    co_return outcome;
}

} // namespace

QCoro::Task<UseOutcome> useModel(QNetworkAccessManager &network, ServiceTarget target, ModelEndpoint endpoint,
                                 bool allowKeyFile)
{
    UseOutcome outcome;
    // Nothing is checked, stored or written for a service that cannot switch.
    outcome.problem = reloadObstacle(target.apiBase, target.env);
    if (!outcome.ok())
        co_return outcome;
    const CheckOutcome checked = co_await checkModel(network, endpoint);
    if (const auto *failure = std::get_if<CheckFailure>(&checked)) {
        outcome.problem = describe(*failure, endpoint);
        co_return outcome;
    }
    outcome.firstToken = std::get<std::chrono::milliseconds>(checked);

    ModelChoice choice{false, endpoint.baseUrl, endpoint.model, KeySource::None, endpoint.readsPictures};
    if (endpoint.apiKey.isEmpty()) {
        co_await forgetKey(target.configDir);
    } else {
        const KeyStored inKeyring = co_await storeKeyInKeyring(endpoint.apiKey);
        if (inKeyring.ok) {
            // A key file from an earlier choice would outlive its use.
            QFile::remove(target.configDir + QLatin1Char('/') + QLatin1String(protocol::kKeyFileName));
            choice.key = KeySource::Keyring;
        } else if (!allowKeyFile) {
            outcome.needsKeyFileConsent = true;
            outcome.problem =
                ModelTexts::tr("%1 The key can instead be kept in a file that only you can read.")
                    .arg(inKeyring.problem);
            co_return outcome;
        } else {
            const KeyStored inFile = storeKeyInFile(target.configDir, endpoint.apiKey);
            if (!inFile.ok) {
                outcome.problem = inFile.problem;
                co_return outcome;
            }
            choice.key = KeySource::File;
        }
    }
    outcome.keyStored = choice.key;
    co_return co_await switchService(network, target, std::move(choice), std::move(outcome));
}

QCoro::Task<UseOutcome> useBuiltIn(QNetworkAccessManager &network, ServiceTarget target)
{
    UseOutcome refused;
    refused.problem = reloadObstacle(target.apiBase, target.env);
    if (!refused.ok())
        co_return refused;
    co_await forgetKey(target.configDir);
    // Named first: GCC 12 destroys a temporary made in a co_await's arguments twice.
    ModelChoice builtIn;
    UseOutcome outcome;
    co_return co_await switchService(network, target, std::move(builtIn), std::move(outcome));
}

} // namespace tavolen::models
