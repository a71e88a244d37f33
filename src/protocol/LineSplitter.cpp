// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/LineSplitter.h"

namespace tavolen::protocol {

void LineSplitter::append(QByteArrayView bytes)
{
    if (m_overflowed || m_closed)
        return;
    compact();
    m_buffer.append(bytes);
}

void LineSplitter::close()
{
    m_closed = true;
}

std::optional<QByteArray> LineSplitter::next()
{
    if (m_overflowed)
        return std::nullopt;
    if (m_skipLf && m_pos < m_buffer.size()) {
        m_skipLf = false;
        if (m_buffer.at(m_pos) == '\n')
            ++m_pos;
    }
    const char *data = m_buffer.constData();
    const qsizetype size = m_buffer.size();
    for (qsizetype i = m_pos + m_scanned; i < size; ++i) {
        const char c = data[i];
        if (c == '\n' || c == '\r') {
            m_skipLf = c == '\r';
            return take(i, i + 1);
        }
    }
    m_scanned = size - m_pos;
    if (m_scanned > m_max) {
        overflow();
        return std::nullopt;
    }
    if (m_closed && m_scanned > 0)
        return take(size, size);
    return std::nullopt;
}

std::optional<QByteArray> LineSplitter::take(qsizetype end, qsizetype resumeAt)
{
    if (end - m_pos > m_max) {
        overflow();
        return std::nullopt;
    }
    QByteArray line(m_buffer.constData() + m_pos, end - m_pos);
    m_pos = resumeAt;
    m_scanned = 0;
    return line;
}

void LineSplitter::overflow()
{
    m_overflowed = true;
    m_buffer = QByteArray();
    m_pos = 0;
    m_scanned = 0;
}

void LineSplitter::compact()
{
    // Drop consumed lines before growing, so the buffer holds at most the
    // unread rest plus one arrival.
    if (m_pos == 0)
        return;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
}

} // namespace tavolen::protocol
