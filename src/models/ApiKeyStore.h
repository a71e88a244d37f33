// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "models/ModelChoice.h"

#include <QString>

#include <qcoro/qcorotask.h>

namespace tavolen::models {

struct KeyStored {
    // Whether it was stored; when not, `problem` says why, in words.
    bool ok = false;
    QString problem;
};

// Puts `key` into the desktop's keyring (Secret Service, KWallet) through
// QtKeychain. Fails when no keyring answers or it is locked and stays so.
QCoro::Task<KeyStored> storeKeyInKeyring(QString key);

// Writes `key` into `dir`/llm-api-key, readable and writable by the user
// alone: only when the user has agreed to it, as no keyring answered.
KeyStored storeKeyInFile(const QString &dir, const QString &key);

// Removes the key from the keyring and the file, whichever holds it, so
// that a key no longer used is not left behind.
QCoro::Task<> forgetKey(QString dir);

} // namespace tavolen::models
