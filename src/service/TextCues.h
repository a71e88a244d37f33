// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

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
    // Whether an "@handle" of a social network appears.
    bool hasHandle() const;
    // Whether a link appears.
    bool hasLink() const;
    // Card numbers that pass the Luhn check, national ID numbers, SSNs, or a
    // password written out.
    bool hasSensitiveNumbers() const;

private:
    bool contains(const QString &phrase) const;

    QString m_original;
    QString m_words; // lower case, one space between words
    QString m_dense; // lower case, no spaces at all
};

// Whether a run of digits passes the Luhn check, as every card number does.
bool passesLuhn(const QString &digits);

} // namespace tavolen::service
