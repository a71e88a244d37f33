// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

namespace tavolen::service {

// The text read from a screenshot.
struct ExtractedText {
    // Reading order, one line of the picture a line, CJK runs joined.
    QString text;
    // As guessTextLanguage names it ("en", "zh", "ja", "mixed", "other"...),
    // or "" when no text was found.
    QString language;
};

// Receives the text of a picture's first lines while the rest is still read.
using TextSoFar = std::function<void(const ExtractedText &)>;

// Reads the text of an image held in memory.
class TextExtractor {
public:
    virtual ~TextExtractor() = default;
    // Blocks the calling thread; safe to call from several threads at once.
    // nullopt when the bytes are not an image it can decode or are too large
    // a picture; an image without text gives empty text. Returns early, with
    // whatever was read, once `cancelled` turns true. When it reads a picture
    // in parts, `onPart` (if set) gets the text so far after each but the
    // last, on the calling thread.
    virtual std::optional<ExtractedText> extract(const QByteArray &jpeg, const std::atomic<bool> &cancelled,
                                                 const TextSoFar &onPart) = 0;
};

} // namespace tavolen::service
