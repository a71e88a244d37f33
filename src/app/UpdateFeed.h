// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace tavolen::app {

// One release as an appcast item announces it.
struct FeedRelease {
    QString version;        // compared with ours: dotted numbers
    QString displayVersion; // shown to people; the version when the item has none of its own
    QUrl url;               // where to get it: the item's page, else its download
};

// Orders dotted numeric versions component by component ("1.10" after "1.9",
// "1.0" equal to "1"). Each component counts by its leading digits; negative,
// zero or positive like a three-way comparison.
int compareVersions(const QString &a, const QString &b);

// The newest release an RSS appcast lists, or why there is none: the feed is
// not well-formed XML, or no item names a version.
Result<FeedRelease, QString> newestRelease(const QByteArray &feed);

} // namespace tavolen::app
