// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/TrimSpaces.h"

#include <QChar>

#include <optional>

namespace tavolen::protocol {

namespace {

bool isTrimmed(char32_t c)
{
    return c == U'\t' || QChar::category(c) == QChar::Separator_Space;
}

// The code point of a well-formed UTF-8 sequence of `length` bytes at `p`,
// or nullopt for anything else (which is then never trimmed).
std::optional<char32_t> decodeAt(const unsigned char *p, qsizetype length)
{
    if (length == 1)
        return p[0] < 0x80 ? std::optional<char32_t>(p[0]) : std::nullopt;
    static constexpr unsigned char kLeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
    static constexpr unsigned char kLeadBits[] = {0, 0, 0xC0, 0xE0, 0xF0};
    if ((p[0] & ~kLeadMask[length]) != kLeadBits[length])
        return std::nullopt;
    char32_t c = p[0] & kLeadMask[length];
    for (qsizetype i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (p[i] & 0x3F);
    }
    // Overlong forms and surrogates are not UTF-8.
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMin[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return std::nullopt;
    return c;
}

qsizetype sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

} // namespace

QByteArrayView trimSpaces(QByteArrayView utf8)
{
    const auto *begin = reinterpret_cast<const unsigned char *>(utf8.data());
    qsizetype from = 0;
    qsizetype to = utf8.size();
    while (from < to) {
        const qsizetype length = sequenceLength(begin[from]);
        if (length == 0 || from + length > to)
            break;
        const auto c = decodeAt(begin + from, length);
        if (!c || !isTrimmed(*c))
            break;
        from += length;
    }
    while (to > from) {
        // Step back over continuation bytes to the start of the last sequence.
        qsizetype start = to - 1;
        while (start > from && to - start < 4 && (begin[start] & 0xC0) == 0x80)
            --start;
        const qsizetype length = to - start;
        if (sequenceLength(begin[start]) != length)
            break;
        const auto c = decodeAt(begin + start, length);
        if (!c || !isTrimmed(*c))
            break;
        to = start;
    }
    return utf8.sliced(from, to - from);
}

} // namespace tavolen::protocol
