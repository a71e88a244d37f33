#pragma once

#include <QString>

namespace tavolen::platform {

// The system clipboard.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;
    // Replaces everything the clipboard held with `text` as plain UTF-8 text
    // plus an empty entry of `markerType`.
    virtual void replaceWithText(const QString &text, const QString &markerType) = 0;
};

} // namespace tavolen::platform
