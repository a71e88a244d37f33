// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/UpdateFeed.h"

#include <QCoreApplication>

#include <QVersionNumber>
#include <QXmlStreamReader>

#include <optional>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct UpdateTexts {
    Q_DECLARE_TR_FUNCTIONS(UpdateTexts)
};

} // namespace

namespace {

constexpr auto kSparkleNs = "http://www.andymatuschak.org/xml-namespaces/sparkle";

// The leading digits of each dot-separated part; "2b3" counts as 2.
// A version is usable when it starts with a number.
bool looksLikeVersion(const QString &version)
{
    const QString v = version.trimmed();
    return !v.isEmpty() && v[0].isDigit();
}

// A feed is not trusted to choose what we hand to the desktop to open.
QUrl webUrl(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == u"https" || scheme == u"http") && !url.host().isEmpty())
        return url;
    return {};
}

struct Item {
    QString version;
    QString shortVersion;
    QUrl link;
    QUrl download;
};

// Reads one <item> up to its end tag. Elements of the item's own namespace
// count whether the feed binds the usual prefix or not.
Item readItem(QXmlStreamReader &xml)
{
    Item item;
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        const bool sparkle = xml.namespaceUri() == QLatin1String(kSparkleNs) || xml.prefix() == u"sparkle";
        if (name == u"enclosure") {
            const QXmlStreamAttributes attributes = xml.attributes();
            for (const QXmlStreamAttribute &a : attributes) {
                const bool own = a.namespaceUri() == QLatin1String(kSparkleNs) || a.prefix() == u"sparkle";
                if (own && a.name() == u"version" && item.version.isEmpty())
                    item.version = a.value().toString().trimmed();
                else if (own && a.name() == u"shortVersionString" && item.shortVersion.isEmpty())
                    item.shortVersion = a.value().toString().trimmed();
                else if (a.namespaceUri().isEmpty() && a.name() == u"url")
                    item.download = webUrl(a.value().toString());
            }
            xml.skipCurrentElement();
        } else if (sparkle && name == u"version") {
            item.version = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (sparkle && name == u"shortVersionString") {
            item.shortVersion = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (!sparkle && name == u"link") {
            item.link = webUrl(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else {
            xml.skipCurrentElement();
        }
    }
    return item;
}

} // namespace

int compareVersions(const QString &a, const QString &b)
{
    // Trailing zeros are dropped so that 1.0 and 1 name the same release; a
    // part counts up to its first non-digit (0.6.1-beta is 0.6.1).
    return QVersionNumber::compare(QVersionNumber::fromString(a.trimmed()).normalized(),
                                   QVersionNumber::fromString(b.trimmed()).normalized());
}

Result<FeedRelease, QString> newestRelease(const QByteArray &feed)
{
    QXmlStreamReader xml(feed);
    std::optional<FeedRelease> newest;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"item")
            continue;
        Item item = readItem(xml);
        // An item whose build number is not a dotted version may still give one for people.
        QString version = looksLikeVersion(item.version) ? item.version : item.shortVersion;
        if (!looksLikeVersion(version))
            continue;
        if (newest && compareVersions(version, newest->version) <= 0)
            continue;
        const QString shown = item.shortVersion.isEmpty() ? version : item.shortVersion;
        newest = FeedRelease{version, shown, item.link.isEmpty() ? item.download : item.link};
    }
    if (xml.hasError())
        return UpdateTexts::tr("the update feed is not valid XML (%1).").arg(xml.errorString());
    if (!newest)
        return UpdateTexts::tr("the update feed lists no version.");
    return std::move(*newest);
}

} // namespace tavolen::app
