// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QUrl>

namespace tavolen::models {

// Where the service finds the API key of the chosen model.
enum class KeySource {
    None,    // the endpoint needs none
    Keyring, // the desktop's Secret Service
    File,    // a file beside the service's configuration, readable by the user alone
};

// What the user chose for the service's analysis: the built-in engine, or a
// model at an OpenAI-compatible endpoint. The key itself is never part of it.
struct ModelChoice {
    bool offline = true;
    QUrl baseUrl;
    QString model;
    KeySource key = KeySource::None;
    // The model is sent the screenshot itself (see ModelEndpoint).
    bool readsPictures = false;
};

// The directory of the service's configuration, where the choice and a key
// file live: that of $TAVOLEN_SERVICE_CONFIG when set, else
// $XDG_CONFIG_HOME/tavolen (~/.config/tavolen).
QString serviceConfigDir(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// The choice as the service reads it, a small TOML file of its own beside
// service.toml, which stays the user's to edit.
QByteArray modelChoiceToml(const ModelChoice &choice);

// Where the choice written in `dir` keeps its key; None when there is no
// choice or it has no key.
KeySource storedKeySource(const QString &dir);

// Writes `model.toml` into `dir` whole (never half), readable by the user
// alone. An empty text on success, else what went wrong.
QString writeModelChoice(const QString &dir, const ModelChoice &choice);

} // namespace tavolen::models
