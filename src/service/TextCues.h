// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace tavolen::service {

// What a text's wording gives away without understanding it: phrase lists
// looked up in a normalised copy of the text.
class TextCues {
public:
    explicit TextCues(const QString &text);

    // Whether any phrase occurs: English phrases as whole words, case and
    // line breaks ignored; Chinese phrases anywhere, spaces ignored.
    bool any(const QStringList &phrases) const;
    // The phrases that occur, in list order.
    QStringList found(const QStringList &phrases) const;
    // Those that occur at least once not denied just before ("you do not
    // need to reset your password", "验证码千万不要告诉任何人").
    QStringList foundAffirmed(const QStringList &phrases) const;
    // Whether `pattern` matches the normalised text somewhere not denied.
    bool affirmed(const QRegularExpression &pattern) const;
    // Lower case, one space between words, curly quotes made straight.
    const QString &words() const { return m_words; }
    const QString &original() const { return m_original; }
    // Whether an "@handle" of a social network appears.
    bool hasHandle() const;
    // Whether a link appears.
    bool hasLink() const;
    // Card numbers that pass the Luhn check, national ID numbers, SSNs, or a
    // password written out.
    bool hasSensitiveNumbers() const;

private:
    bool contains(const QString &phrase, bool affirmedOnly = false) const;
    bool deniedBefore(qsizetype at, qsizetype end) const;

    QString m_original;
    QString m_words; // lower case, one space between words
    QString m_dense; // lower case, no spaces at all
};

// Whether a run of digits passes the Luhn check, as every card number does.
bool passesLuhn(const QString &digits);

} // namespace tavolen::service
