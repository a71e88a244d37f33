// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/TextCues.h"

#include "service/TextScript.h"

#include <QRegularExpression>

#include <algorithm>

namespace tavolen::service {

namespace {

QString normalised(const QString &text)
{
    QString t = text.toLower();
    t.replace(QChar(0x2019), QLatin1Char('\'')).replace(QChar(0x2018), QLatin1Char('\''));
    t.replace(QChar(0x201C), QLatin1Char('"')).replace(QChar(0x201D), QLatin1Char('"'));
    return t.simplified();
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() && !isCjk(c.unicode());
}

} // namespace

TextCues::TextCues(const QString &text)
    : m_original(text), m_words(normalised(text)), m_dense(QString(m_words).remove(QLatin1Char(' ')))
{}

bool TextCues::deniedBefore(qsizetype at, qsizetype end) const
{
    // The clause up to the phrase, and the phrase itself.
    qsizetype from = std::max<qsizetype>(0, at - 30);
    for (qsizetype i = at - 1; i >= from; --i) {
        if (QStringLiteral(".!?。！？;；").contains(m_words[i])) {
            from = i + 1;
            break;
        }
    }
    static const QRegularExpression denial(
        QStringLiteral("\\b(never|don't|do not|not need|no need|won't|will not|doesn't|does "
                       "not|didn't)\\b|不要|不会|别|切勿|千万|从不|"
                       "nie|jamais|nunca|никогда"));
    return m_words.mid(from, end - from).contains(denial);
}

bool TextCues::contains(const QString &phrase, bool affirmedOnly) const
{
    if (phrase.isEmpty())
        return false;
    if (isCjk(phrase.front().unicode())) {
        if (!affirmedOnly)
            return m_dense.contains(phrase);
        // Spaces matter not in Chinese: look in the spaced text by its dense twin.
        for (qsizetype at = m_words.indexOf(phrase); at >= 0; at = m_words.indexOf(phrase, at + 1))
            if (!deniedBefore(at, at + phrase.size()))
                return true;
        return false;
    }
    // Latin phrases count only as whole words: "prize" is not in "prized".
    for (qsizetype at = m_words.indexOf(phrase); at >= 0; at = m_words.indexOf(phrase, at + 1)) {
        const qsizetype end = at + phrase.size();
        const bool startOk = at == 0 || !isWordChar(m_words[at - 1]) || !isWordChar(phrase.front());
        const bool endOk = end >= m_words.size() || !isWordChar(m_words[end]) || !isWordChar(phrase.back());
        if (startOk && endOk && !(affirmedOnly && deniedBefore(at, end)))
            return true;
    }
    return false;
}

bool TextCues::any(const QStringList &phrases) const
{
    for (const QString &p : phrases)
        if (contains(p))
            return true;
    return false;
}

QStringList TextCues::found(const QStringList &phrases) const
{
    QStringList out;
    for (const QString &p : phrases)
        if (contains(p))
            out << p;
    return out;
}

QStringList TextCues::foundAffirmed(const QStringList &phrases) const
{
    QStringList out;
    for (const QString &p : phrases)
        if (contains(p, true))
            out << p;
    return out;
}

bool TextCues::affirmed(const QRegularExpression &pattern) const
{
    for (auto it = pattern.globalMatch(m_words); it.hasNext();) {
        const auto m = it.next();
        if (!deniedBefore(m.capturedStart(), m.capturedEnd()))
            return true;
    }
    return false;
}

bool TextCues::hasHandle() const
{
    static const QRegularExpression handle(QStringLiteral("(^|[\\s(（])@[A-Za-z0-9_]{2,30}\\b"));
    return handle.match(m_original).hasMatch();
}

bool TextCues::hasLink() const
{
    static const QRegularExpression link(
        QStringLiteral(
            "(https?://|www\\.)\\S+|\\b[a-z0-9-]+\\.(com|net|org|io|ly|cn|top|xyz|info|co)(/\\S*)?\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return link.match(m_original).hasMatch();
}

bool passesLuhn(const QString &digits)
{
    int sum = 0;
    bool twice = false;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        int d = digits[i].digitValue();
        if (twice && (d *= 2) > 9)
            d -= 9;
        sum += d;
        twice = !twice;
    }
    return sum % 10 == 0;
}

bool TextCues::hasSensitiveNumbers() const
{
    static const QRegularExpression card(QStringLiteral("\\b\\d(?:[ -]?\\d){12,18}\\b"));
    for (auto it = card.globalMatch(m_original); it.hasNext();) {
        const QString digits = it.next().captured().remove(QRegularExpression(QStringLiteral("[ -]")));
        if (digits.size() >= 13 && passesLuhn(digits))
            return true;
    }
    static const QRegularExpression others(
        QStringLiteral(
            "\\b\\d{17}[\\dXx]\\b|\\b\\d{3}-\\d{2}-\\d{4}\\b|(password|passcode|pin|密码)\\s*[:：=]\\s*\\S"),
        QRegularExpression::CaseInsensitiveOption);
    return others.match(m_original).hasMatch();
}

} // namespace tavolen::service
