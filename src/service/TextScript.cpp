// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/TextScript.h"

#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace tavolen::service {

bool isCjk(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF)      // unified ideographs
           || (c >= 0x3400 && c <= 0x4DBF)   // extension A
           || (c >= 0x20000 && c <= 0x2FA1F) // extensions B on, compatibility supplement
           || (c >= 0xF900 && c <= 0xFAFF)   // compatibility ideographs
           || (c >= 0x3000 && c <= 0x303F)   // CJK punctuation
           || (c >= 0x3040 && c <= 0x30FF)   // kana
           || (c >= 0xAC00 && c <= 0xD7AF)   // hangul
           || (c >= 0xFF00 && c <= 0xFFEF);  // full-width forms (，！？：)
}

namespace {

// Chinese and Japanese run their words together; Korean spaces them.
bool writtenWithoutSpaces(char32_t c)
{
    return isCjk(c) && !(c >= 0xAC00 && c <= 0xD7AF);
}

} // namespace

QString joinCjk(const QString &text)
{
    QStringList out;
    for (const QString &rawLine : text.split(QLatin1Char('\n'))) {
        const QList<uint> chars = rawLine.trimmed().toUcs4();
        QList<uint> kept;
        kept.reserve(chars.size());
        for (qsizetype i = 0; i < chars.size(); ++i) {
            if (chars[i] == ' ' && !kept.isEmpty() && writtenWithoutSpaces(kept.last())) {
                qsizetype next = i;
                while (next < chars.size() && chars[next] == ' ')
                    ++next;
                if (next < chars.size() && writtenWithoutSpaces(chars[next])) {
                    i = next - 1;
                    continue;
                }
            }
            kept.append(chars[i]);
        }
        const QString line =
            QString::fromUcs4(reinterpret_cast<const char32_t *>(kept.constData()), kept.size());
        if (!line.isEmpty())
            out << line;
    }
    return out.join(QLatin1Char('\n'));
}

namespace {

struct ScriptCounts {
    qsizetype han = 0, kana = 0, hangul = 0, cyrillic = 0, latin = 0;
};

ScriptCounts countScripts(const QString &text)
{
    ScriptCounts n;
    for (const uint c : text.toUcs4()) {
        if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF))
            ++n.kana;
        else if ((c >= 0xAC00 && c <= 0xD7AF) || (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F))
            ++n.hangul;
        else if (isCjk(c) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xFF00 && c <= 0xFFEF))
            ++n.han;
        else if (c >= 0x400 && c <= 0x4FF)
            ++n.cyrillic;
        else if ((c < 0x80 && QChar::isLetter(c)) || (c >= 0xC0 && c <= 0x24F && QChar::isLetter(c)))
            ++n.latin;
    }
    return n;
}

// The commonest short words of each language written in Latin letters: a
// text of a few lines holds several of its own and few of the others'.
const QList<std::pair<const char *, QSet<QString>>> &latinStopWords()
{
    static const QList<std::pair<const char *, QSet<QString>>> lists = [] {
        const auto set = [](std::initializer_list<const char *> words) {
            QSet<QString> s;
            for (const char *w : words)
                s.insert(QString::fromUtf8(w));
            return s;
        };
        return QList<std::pair<const char *, QSet<QString>>>{
            {"en",
             set({"the",    "and",    "is",   "are",  "you",   "your", "to",    "of",     "for",   "it",
                  "this",   "that",   "with", "was",  "in",    "on",   "my",    "we",     "have",  "be",
                  "not",    "at",     "i",    "me",   "so",    "will", "had",   "ever",   "never", "our",
                  "just",   "from",   "by",   "what", "an",    "or",   "but",   "if",     "they",  "do",
                  "can",    "all",    "has",  "been", "about", "now",  "again", "really", "great", "good",
                  "thanks", "please", "only", "very", "there", "here", "it's",  "don't"})},
            {"fr", set({"le",      "la",   "les",   "de",   "des", "du",   "et",  "est", "une",
                        "un",      "vous", "votre", "pour", "sur", "avec", "que", "qui", "pas",
                        "c'était", "je",   "nous",  "au",   "aux", "se",   "ce"})},
            {"de",
             set({"der", "die", "das", "und", "ist", "ich", "sie",  "ihr", "ihre", "ihrem", "nicht", "mit",
                  "für", "von", "zu",  "den", "dem", "ein", "eine", "wir", "auf",  "auch",  "deine", "du"})},
            {"es",
             set({"el",   "la",  "los", "las", "de", "del", "y",  "es",   "que",  "en",  "un",  "una", "por",
                  "para", "con", "mi",  "tu",  "te", "se",  "me", "este", "esta", "hoy", "nos", "al"})},
        };
    }();
    return lists;
}

// "en", "fr", "de" or "es" when its short words say so clearly; else "other".
QString latinLanguage(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("[\\p{L}']+"));
    QList<int> hits(latinStopWords().size(), 0);
    for (auto it = word.globalMatch(text.toLower()); it.hasNext();) {
        const QString w = it.next().captured();
        for (qsizetype i = 0; i < latinStopWords().size(); ++i)
            hits[i] += latinStopWords()[i].second.contains(w) ? 1 : 0;
    }
    qsizetype best = 0;
    for (qsizetype i = 1; i < hits.size(); ++i)
        best = hits[i] > hits[best] ? i : best;
    int runnerUp = 0;
    for (qsizetype i = 0; i < hits.size(); ++i)
        runnerUp = i != best ? std::max(runnerUp, hits[i]) : runnerUp;
    // One shared word ("la", "de") says nothing; a clear lead does.
    if (hits[best] >= 2 && hits[best] > runnerUp)
        return QString::fromLatin1(latinStopWords()[best].first);
    return QStringLiteral("other");
}

} // namespace

QString guessTextLanguage(const QString &text)
{
    const ScriptCounts n = countScripts(text);
    // An ideograph or a syllable block carries about as much as a short word.
    const double cjk = double(n.han + n.kana + n.hangul) * 3.0;
    const double alphabetic = double(n.latin + n.cyrillic);
    if (cjk + alphabetic == 0)
        return {};
    const double cjkShare = cjk / (cjk + alphabetic);
    if (cjkShare > 0.2 && cjkShare < 0.8)
        return QStringLiteral("mixed");
    if (cjkShare >= 0.8) {
        // Japanese writes kana between its kanji; Chinese never does, though
        // OCR may mistake a stray mark for one.
        if (n.hangul > n.han + n.kana)
            return QStringLiteral("ko");
        if (n.kana * 8 >= n.han + n.kana && n.kana >= 2)
            return QStringLiteral("ja");
        return n.han > 0 ? QStringLiteral("zh") : QStringLiteral("other");
    }
    if (n.cyrillic > n.latin)
        return QStringLiteral("ru");
    return latinLanguage(text);
}

} // namespace tavolen::service
