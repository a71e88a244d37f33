// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::service {

// Whether `c` is a CJK ideograph, kana, hangul or CJK punctuation: the
// characters that Chinese and Japanese write without spaces.
bool isCjk(char32_t c);

// Removes the spaces (and only spaces) that OCR puts between two Chinese or
// Japanese characters, and trims each line; blank lines are dropped. Korean
// keeps its spaces: it writes them.
QString joinCjk(const QString &text);

// The text's language by its script and, for Latin letters, its commonest
// short words: "zh", "ja", "ko", "ru", "en", "fr", "de" or "es"; "mixed"
// when CJK and alphabetic letters both weigh, "other" when the script or the
// words name none of these, "" when there are no letters at all.
QString guessTextLanguage(const QString &text);

} // namespace tavolen::service
