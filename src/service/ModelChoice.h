// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/ConfigLoader.h"

#include <QString>

namespace tavolen::service {

// model.toml in the directory of the configuration file at `configPath`.
QString modelChoicePath(const QString &configPath);

// The model the user chose in the app ("tavolen model use", Settings), over
// what service.toml says: `engine`, and under [llm] `base_url`, `model` and
// `api_key` ("keyring", "file", or absent for none). An absent file changes
// nothing; its mistakes are errors naming its line and key, as in
// service.toml, and any other key is a warning.
void readModelChoice(const QString &path, ConfigLoad &out);

// Applies the text of a model choice file; `origin` names it in messages.
void applyModelChoiceText(const QString &text, const QString &origin, ConfigLoad &out);

} // namespace tavolen::service
