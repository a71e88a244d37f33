// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>

namespace tavolen::protocol {

// Removes tabs and Unicode space separators (U+0020, U+00A0, U+3000 and their
// kin) from both ends of UTF-8 bytes; the bytes in between stay untouched.
QByteArrayView trimSpaces(QByteArrayView utf8);

} // namespace tavolen::protocol
