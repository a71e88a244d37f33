// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::protocol {

// Where the app and a service on the same machine, run by the same user,
// meet to choose the service's model: the names both sides use.

// The app's choice of model, beside the service's configuration file.
inline constexpr auto kModelChoiceFile = "model.toml";
// The API key in a file of the user's alone, beside it, where no keyring answers.
inline constexpr auto kKeyFileName = "llm-api-key";
// The API key in the desktop's keyring (Secret Service), through QtKeychain.
inline constexpr auto kKeyringService = "tavolen";
inline constexpr auto kKeyringKey = "llm-api-key";

// Asks the service to read its configuration again and take the engine it
// names; relative to its base URL.
inline constexpr auto kReloadPath = "v1/control/reload";

// The secret that allows a reload, written by the service on `port` for its
// own user alone, relative to $XDG_RUNTIME_DIR.
inline QString controlSecretName(int port)
{
    return QStringLiteral("tavolen/service-%1.secret").arg(port);
}

} // namespace tavolen::protocol
