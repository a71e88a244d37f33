// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReadingCorpus.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <algorithm>

namespace tavolen::test {

QString readingCorpusDir()
{
    return QStringLiteral(TAVOLEN_READING_CORPUS);
}

QList<CorpusPost> loadReadingCorpus(const QString &dir)
{
    QFile file(dir + QStringLiteral("/corpus.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<CorpusPost> out;
    for (const QJsonValue &v : QJsonDocument::fromJson(file.readAll())[QLatin1String("posts")].toArray()) {
        const QJsonObject o = v.toObject();
        CorpusPost p;
        const auto s = [&](const char *key) { return o[QLatin1String(key)].toString(); };
        p.id = s("id");
        p.app = s("app");
        p.from = s("from");
        p.handle = s("handle");
        p.title = s("title");
        for (const QJsonValue &line : o[QLatin1String("text")].toArray())
            p.text << line.toString();
        p.dark = o[QLatin1String("dark")].toBool();
        p.lang = s("lang");
        p.risk = s("risk");
        p.kind = s("kind");
        p.tone = s("tone");
        p.toReader = o[QLatin1String("to_reader")].toBool();
        p.start = s("start");
        out << p;
    }
    return out;
}

InterfaceText interfaceTextOf(const CorpusPost &post)
{
    const bool zh = post.lang == QLatin1String("zh");
    const auto t = [zh](const char *en, const char *chinese) { return QString::fromUtf8(zh ? chinese : en); };
    if (post.app == QLatin1String("social"))
        return {{t("Home", "首页"), post.from, post.handle},
                {t("Reply   Retweet   Like   Share", "转发   评论   赞   收藏")}};
    if (post.app == QLatin1String("dm"))
        return {{t("Messages", "私信"), post.from, post.handle}, {t("Start a new message", "发私信")}};
    if (post.app == QLatin1String("wechat"))
        return {{QStringLiteral("< 微信(3)"), post.from}, {QStringLiteral("发送")}};
    if (post.app == QLatin1String("whatsapp"))
        return {{post.from, QStringLiteral("online")}, {QStringLiteral("Type a message")}};
    if (post.app == QLatin1String("telegram"))
        return {{post.from, QStringLiteral("last seen recently")}, {QStringLiteral("Write a message...")}};
    if (post.app == QLatin1String("email"))
        return {{t("Inbox", "收件箱"), post.title, t("From: ", "发件人：") + post.from,
                 t("To: me", "收件人：我")},
                {t("Reply   Forward   Archive", "回复   转发   归档")}};
    return {{post.from, t("Text Message · Today 9:41", "短信 · 今天 9:41")}, {t("Text Message", "短信")}};
}

QString toneClass(const QString &tone)
{
    static const QMap<QString, QString> classes = {
        {QStringLiteral("threatening"), QStringLiteral("hostile")},
        {QStringLiteral("persuasive"), QStringLiteral("pressuring")},
        {QStringLiteral("official"), QStringLiteral("formal")},
        {QStringLiteral("unclear"), QStringLiteral("neutral")},
        {QStringLiteral("backhanded"), QStringLiteral("sarcastic")},
    };
    return classes.value(tone, tone);
}

namespace {

QString squeezed(const QString &s)
{
    QString out;
    for (const QChar c : s.toLower())
        if (c.isLetterOrNumber())
            out += c;
    return out;
}

} // namespace

bool carriesInterfaceText(const CorpusPost &post, const QString &summary)
{
    const QString said = squeezed(summary);
    const QString body = squeezed(post.text.join(QLatin1Char(' ')));
    const InterfaceText ui = interfaceTextOf(post);
    for (const QString &line : ui.above + ui.below) {
        const QString l = squeezed(line);
        // A name the message itself says ("Hey it's Sam") is not interface text.
        if (l.size() >= 4 && said.contains(l) && !body.contains(l))
            return true;
    }
    return false;
}

namespace {

struct Tally {
    int n = 0, high = 0, tone = 0, lang = 0, clean = 0;
    double ms = 0;
    QString row(const QString &name) const
    {
        const auto share = [this](int k) { return QString::number(n ? double(k) / n : 0.0, 'f', 2); };
        return QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
            .arg(name, -22)
            .arg(n, 4)
            .arg(share(high), 6)
            .arg(share(tone), 6)
            .arg(share(lang), 6)
            .arg(share(clean), 6)
            .arg(n ? ms / n : 0.0, 8, 'f', 0);
    }
};

} // namespace

CorpusScore scoreReadings(const QList<CorpusPost> &posts, const QList<PostReading> &readings)
{
    CorpusScore score;
    QMap<QString, Tally> byClass;
    Tally all;
    QList<double> times;
    for (qsizetype i = 0; i < posts.size() && i < readings.size(); ++i) {
        const CorpusPost &p = posts[i];
        const PostReading &r = readings[i];
        const bool ratedHigh = r.risk == QLatin1String("high");
        const bool labelledHigh = p.risk == QLatin1String("high");
        score.highLabelled += labelledHigh;
        score.highRated += ratedHigh;
        score.highFound += labelledHigh && ratedHigh;
        if (p.kind == QLatin1String("none")) {
            ++score.benign;
            score.benignRatedHigh += ratedHigh;
        }
        const QString tone = toneClass(r.tone);
        score.sarcasticAsFriendly +=
            p.tone == QLatin1String("sarcastic") && tone == QLatin1String("friendly");
        Tally one;
        one.n = 1;
        one.high = ratedHigh;
        one.tone = tone == p.tone;
        one.lang = r.language == p.lang;
        one.clean = !carriesInterfaceText(p, r.summary);
        one.ms = r.ms;
        times << r.ms;
        for (const QString &key : {QStringLiteral("kind=") + p.kind, QStringLiteral("tone=") + p.tone,
                                   QStringLiteral("lang=") + p.lang, QStringLiteral("app=") + p.app}) {
            Tally &t = byClass[key];
            t.n += 1, t.high += one.high, t.tone += one.tone, t.lang += one.lang, t.clean += one.clean;
            t.ms += one.ms;
        }
        all.n += 1, all.high += one.high, all.tone += one.tone, all.lang += one.lang, all.clean += one.clean;
        all.ms += one.ms;
    }
    score.toneAccuracy = all.n ? double(all.tone) / all.n : 0;
    score.languageAccuracy = all.n ? double(all.lang) / all.n : 0;
    score.cleanSummaries = all.n ? double(all.clean) / all.n : 0;

    QString &t = score.table;
    t += QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
             .arg(QStringLiteral("class"), -22)
             .arg(QStringLiteral("n"), 4)
             .arg(QStringLiteral("high"), 6)
             .arg(QStringLiteral("tone"), 6)
             .arg(QStringLiteral("lang"), 6)
             .arg(QStringLiteral("clean"), 6)
             .arg(QStringLiteral("ms/post"), 8);
    for (auto it = byClass.cbegin(); it != byClass.cend(); ++it)
        t += it.value().row(it.key());
    t += all.row(QStringLiteral("all"));
    std::sort(times.begin(), times.end());
    t += QStringLiteral("high risk: precision %1 recall %2 (%3 of %4); false-high on benign %5 (%6 of %7)\n")
             .arg(score.highPrecision(), 0, 'f', 2)
             .arg(score.highRecall(), 0, 'f', 2)
             .arg(score.highFound)
             .arg(score.highLabelled)
             .arg(score.falseHigh(), 0, 'f', 2)
             .arg(score.benignRatedHigh)
             .arg(score.benign);
    t += QStringLiteral("tone %1, sarcastic read as friendly %2; language %3; summaries free of interface "
                        "text %4\n")
             .arg(score.toneAccuracy, 0, 'f', 2)
             .arg(score.sarcasticAsFriendly)
             .arg(score.languageAccuracy, 0, 'f', 2)
             .arg(score.cleanSummaries, 0, 'f', 2);
    if (!times.isEmpty())
        t += QStringLiteral("time per post: median %1 ms, slowest %2 ms\n")
                 .arg(times[times.size() / 2], 0, 'f', 0)
                 .arg(times.back(), 0, 'f', 0);
    return score;
}

} // namespace tavolen::test
