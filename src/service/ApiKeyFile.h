// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::service {

// What reading a key gave: the key, or why there is none (a sentence that
// names the file and never holds any of its content).
struct KeyRead {
    QString key;
    QString error;
};

// llm-api-key in `configDir`.
QString apiKeyFilePath(const QString &configDir);

// The key alone, its trailing line break ignored. The file must be a regular
// file of this user's that nobody else may read or write (mode 0600 or
// stricter): a key others can read is refused rather than used.
KeyRead readApiKeyFile(const QString &path);

} // namespace tavolen::service
