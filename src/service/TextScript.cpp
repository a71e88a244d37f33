// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/TextScript.h"

#include <QStringList>

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

QString joinCjk(const QString &text)
{
    QStringList out;
    for (const QString &rawLine : text.split(QLatin1Char('\n'))) {
        const QList<uint> chars = rawLine.trimmed().toUcs4();
        QList<uint> kept;
        kept.reserve(chars.size());
        for (qsizetype i = 0; i < chars.size(); ++i) {
            if (chars[i] == ' ' && !kept.isEmpty() && isCjk(kept.last())) {
                qsizetype next = i;
                while (next < chars.size() && chars[next] == ' ')
                    ++next;
                if (next < chars.size() && isCjk(chars[next])) {
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

QString guessTextLanguage(const QString &text)
{
    qsizetype cjk = 0;
    qsizetype latin = 0;
    for (const uint c : text.toUcs4()) {
        if (isCjk(c) && !(c >= 0x3000 && c <= 0x303F) && !(c >= 0xFF00 && c <= 0xFFEF))
            ++cjk;
        else if ((c < 0x80 && QChar::isLetter(c)) || (c >= 0xC0 && c <= 0x24F && QChar::isLetter(c)))
            ++latin;
    }
    // A Chinese character carries about as much as a short English word.
    const double zhWeight = double(cjk) * 3.0;
    const double enWeight = double(latin);
    if (zhWeight + enWeight == 0)
        return {};
    const double zhShare = zhWeight / (zhWeight + enWeight);
    if (zhShare >= 0.8)
        return QStringLiteral("zh");
    if (zhShare <= 0.2)
        return QStringLiteral("en");
    return QStringLiteral("mixed");
}

} // namespace tavolen::service
