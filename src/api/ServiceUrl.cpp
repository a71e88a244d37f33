// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/ServiceUrl.h"

#include "core/Settings.h"

namespace tavolen::api {

bool usableBase(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

int effectivePort(const QUrl &url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

QUrl defaultBase()
{
    return QUrl(QStringLiteral(TAVOLEN_DEFAULT_API_BASE));
}

QUrl base(const SettingsStore &settings)
{
    if (const std::optional<QString> text = keys::apiBase.stored(settings); text && !text->isEmpty()) {
        const QUrl url(*text, QUrl::StrictMode);
        if (usableBase(url))
            return url;
    }
    return defaultBase();
}

QUrl endpoint(const SettingsStore &settings, const QString &path)
{
    return joined(base(settings), path);
}

QUrl joined(QUrl url, const QString &path)
{
    QString basePath = url.path();
    while (basePath.endsWith(QLatin1Char('/')))
        basePath.chop(1);
    QString tail = path;
    while (tail.startsWith(QLatin1Char('/')))
        tail.remove(0, 1);
    url.setPath(basePath + QLatin1Char('/') + tail);
    return url;
}

bool sameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && effectivePort(a) == effectivePort(b);
}

} // namespace tavolen::api
