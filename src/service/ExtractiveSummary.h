// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::service {

// The first meaningful sentence or two of the content, trimmed to a length a
// glance takes in, without the application's own words around it; empty
// when there is no content. `firstLinesOnly`: the text is a page's first
// lines, which may hold nothing but its title and names yet.
QString extractiveSummary(const QString &text, bool firstLinesOnly = false);

// The lines the summary is taken from: the content without the interface.
QString contentText(const QString &text);

// The application's own lines around the content (title bars, the handles
// in bylines, toolbars, mail headers), without the name of whoever wrote it.
QString interfaceText(const QString &text);

} // namespace tavolen::service
