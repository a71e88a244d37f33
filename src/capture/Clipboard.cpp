#include "capture/Clipboard.h"

#include "platform/Pasteboard.h"

namespace tavolen::capture {

void Clipboard::copy(platform::Pasteboard &pasteboard, const QString &text)
{
    pasteboard.replaceWithText(text, QString::fromLatin1(kTransientType));
}

} // namespace tavolen::capture
