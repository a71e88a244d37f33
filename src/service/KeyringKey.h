// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/ApiKeyFile.h"

#include <functional>

namespace tavolen::service {

// Reads the key through QtKeychain. `done` is called later, from the event
// loop of the calling thread, which must be running: the Secret Service
// answers over D-Bus, and a locked keyring may first ask the user.
void readKeyringKey(std::function<void(const KeyRead &)> done);

} // namespace tavolen::service
