// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include <optional>
#include <variant>

class QNetworkAccessManager;

namespace tavolen::models {

// The engine a service runs, as its health check or a reload tells it.
struct EngineInfo {
    QString engine; // "offline", "llm:qwen2.5:7b"
    QString model;  // empty for the built-in engine
    QUrl baseUrl;
    bool writesReplies = false;
};

// The engine in the health check's answer; nullopt when the service is not
// reachable or its answer is not one.
QCoro::Task<std::optional<EngineInfo>> serviceStatus(QNetworkAccessManager &network, QUrl apiBase);

// The secret that lets this user's processes ask the service on `port` to
// reload: the service writes it where only this user can read it.
QString controlSecretPath(int port,
                          const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// Why the service at `apiBase` cannot be asked to reload (not on this
// machine, or no secret of this user's for it); empty when it can.
QString reloadObstacle(const QUrl &apiBase,
                       const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// Asks the service at `apiBase` to read its configuration again and take
// the engine it names now; the new engine, or why it did not change (in
// words). Only a service on this machine, run by this user, can be asked.
QCoro::Task<std::variant<EngineInfo, QString>>
reloadService(QNetworkAccessManager &network, QUrl apiBase,
              QProcessEnvironment env = QProcessEnvironment::systemEnvironment());

// An engine answer ({"engine":…,"model":…,"base_url":…,"replies":…}).
std::optional<EngineInfo> engineInfo(const QByteArray &json);

} // namespace tavolen::models
