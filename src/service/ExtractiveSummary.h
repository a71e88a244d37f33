#pragma once

#include <QString>
#include <QStringList>

namespace tavolen::service {

// The lines of a screenshot's text that carry what was written, without the
// application's own words around it: handles, times, counters, buttons
// ("Reply", "转发") and mail headers.
QStringList contentLines(const QString &text);

// The first meaningful sentence or two of the content, trimmed to a length a
// glance takes in; empty when there is no content.
QString extractiveSummary(const QString &text);

} // namespace tavolen::service
