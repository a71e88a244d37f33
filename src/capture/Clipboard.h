#pragma once

#include <QString>

namespace tavolen::platform {
class Pasteboard;
} // namespace tavolen::platform

namespace tavolen::capture {

namespace Clipboard {
// Clipboard managers that honour this type leave the entry out of their history.
inline constexpr auto kTransientType = "org.nspasteboard.TransientType";
// Replaces the clipboard's contents with `text` and the transient marker.
void copy(platform::Pasteboard &pasteboard, const QString &text);
} // namespace Clipboard

} // namespace tavolen::capture
