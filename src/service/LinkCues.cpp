// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/LinkCues.h"

#include <QRegularExpression>
#include <QSet>

namespace tavolen::service {

namespace {

QSet<QString> setOf(std::initializer_list<const char *> words)
{
    QSet<QString> s;
    for (const char *w : words)
        s.insert(QString::fromLatin1(w));
    return s;
}

// Brands that scams dress up as most, by the name their own domains carry.
const QSet<QString> &brands()
{
    static const QSet<QString> s =
        setOf({"usps",     "fedex",     "dhl",       "ups",      "royalmail",  "laposte",       "hermes",
               "amazon",   "paypal",    "apple",     "icloud",   "netflix",    "instagram",     "facebook",
               "whatsapp", "microsoft", "google",    "chase",    "wellsfargo", "bankofamerica", "ezpass",
               "irs",      "sparkasse", "sber",      "sberbank", "icbc",       "taobao",        "alipay",
               "sagawa",   "yamato",    "coinbase",  "binance",  "metamask",   "spotify",       "disney",
               "hsbc",     "barclays",  "santander", "correos",  "dpd"});
    return s;
}

const QSet<QString> &throwawayTlds()
{
    static const QSet<QString> s =
        setOf({"top",  "xyz", "icu",  "buzz", "cyou", "click",   "link", "support", "help",
               "live", "vip", "shop", "work", "rest", "monster", "cfd",  "sbs",     "tk",
               "ml",   "ga",  "cf",   "gq",   "info", "online",  "site"});
    return s;
}

const QSet<QString> &shorteners()
{
    static const QSet<QString> s =
        setOf({"bit.ly", "tinyurl.com", "t.co", "goo.gl", "is.gd", "cutt.ly", "rebrand.ly", "t.ly", "s.id",
               "ow.ly", "shorturl.at", "rb.gy", "tiny.cc", "bit.do", "u.nu", "dwz.cn", "url.cn"});
    return s;
}

const QSet<QString> &freeMail()
{
    static const QSet<QString> s =
        setOf({"gmail.com", "outlook.com", "hotmail.com", "yahoo.com", "protonmail.com", "proton.me",
               "aol.com", "mail.com", "gmx.com", "qq.com", "163.com", "126.com", "icloud.com", "live.com"});
    return s;
}

// The label people register: "amazon" of "shipment-tracking.amazon.co.uk".
QString registrable(const QStringList &labels)
{
    static const QSet<QString> secondLevel =
        setOf({"co", "com", "net", "org", "gov", "ac", "edu", "ne", "or"});
    if (labels.size() >= 3 && secondLevel.contains(labels[labels.size() - 2]) && labels.back().size() == 2)
        return labels[labels.size() - 3];
    return labels.size() >= 2 ? labels[labels.size() - 2] : QString();
}

// "paypa1" reads "paypal", "amaz0n" reads "amazon": digits standing in for
// the letters they resemble.
QString unLeet(QString s)
{
    return s.replace(QLatin1Char('0'), QLatin1Char('o'))
        .replace(QLatin1Char('1'), QLatin1Char('l'))
        .replace(QLatin1Char('3'), QLatin1Char('e'))
        .replace(QLatin1Char('5'), QLatin1Char('s'));
}

void judgeHost(const QString &host, LinkCues &out)
{
    const QStringList labels = host.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (labels.size() < 2)
        return;
    out.any = true;
    if (shorteners().contains(host))
        out.hidden = true;
    if (throwawayTlds().contains(labels.back()) || host.contains(QLatin1String("xn--")))
        out.throwaway = true;
    const QString own = registrable(labels);
    if (brands().contains(own))
        return; // the brand's own domain
    // A brand anywhere else in the name: in a subdomain, or inside the
    // registered label beside other words.
    for (const QString &label : labels) {
        const QStringList parts = unLeet(label).split(QLatin1Char('-'), Qt::SkipEmptyParts);
        for (const QString &part : parts + QStringList{unLeet(label).remove(QLatin1Char('-'))}) {
            for (const QString &brand : brands()) {
                const bool named = part == brand || (brand.size() >= 5 && part.startsWith(brand));
                if (named && !out.brands.contains(brand)) {
                    out.lookAlike = true;
                    out.brands << brand;
                }
            }
        }
    }
}

} // namespace

LinkCues readLinks(const QString &text)
{
    LinkCues out;
    const QString t = text.toLower();
    static const QRegularExpression ip(QStringLiteral("\\b(https?://)?\\d{1,3}(\\.\\d{1,3}){3}(:\\d+)?/"));
    if (ip.match(t).hasMatch()) {
        out.any = true;
        out.hidden = true;
    }
    // Hosts of links and bare domains; OCR keeps dots and hyphens well.
    static const QRegularExpression host(
        QStringLiteral("(?:https?://)?((?:[a-z0-9](?:[a-z0-9-]*[a-z0-9])?\\.)+(?:[a-z]{2,12}|xn--[a-z0-9-]+))"
                       "(?![a-z0-9-])"));
    static const QRegularExpression mail(QStringLiteral("[a-z0-9._%+-]+@([a-z0-9.-]+\\.[a-z]{2,12})"));
    QSet<QString> mailHosts;
    for (auto it = mail.globalMatch(t); it.hasNext();) {
        const QString h = it.next().captured(1);
        mailHosts.insert(h);
        if (freeMail().contains(h))
            out.freeMailSender = true;
    }
    for (auto it = host.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        const QString h = m.captured(1);
        // A number such as "1.99" or "3.5" is no host.
        if (!h.contains(QRegularExpression(QStringLiteral("[a-z]{2,}\\.[a-z]"))) &&
            !h.contains(QRegularExpression(QStringLiteral("\\.[a-z]{2,}$"))))
            continue;
        if (mailHosts.contains(h) && freeMail().contains(h))
            continue;
        judgeHost(h, out);
    }
    return out;
}

} // namespace tavolen::service
