#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <optional>

namespace tavolen::service {

// The text read from a screenshot.
struct ExtractedText {
    // Reading order, one line of the picture a line, CJK runs joined.
    QString text;
    // "en", "zh", "mixed", or "" when no text was found.
    QString language;
};

// Reads the text of an image held in memory.
class TextExtractor {
public:
    virtual ~TextExtractor() = default;
    // Blocks the calling thread; safe to call from several threads at once.
    // nullopt when the bytes are not an image it can decode or are too large
    // a picture; an image without text gives empty text. Returns early, with
    // whatever was read, once `cancelled` turns true.
    virtual std::optional<ExtractedText> extract(const QByteArray &jpeg,
                                                 const std::atomic<bool> &cancelled) = 0;
};

} // namespace tavolen::service
