// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace tavolen::protocol {

// The longest line a stream may send. Every data line is one JSON document
// that we hold whole, so a peer that never ends its line must not make us
// hold an unbounded amount of memory.
inline constexpr qsizetype kMaxStreamLine = 1024 * 1024;

// Cuts bytes into lines as they arrive, in whatever pieces the network
// delivers them. A line ends at LF, CR or CRLF; a CRLF split across two
// pieces still ends one line. Lines are returned without their terminator.
class LineSplitter {
public:
    explicit LineSplitter(qsizetype maxLineLength = kMaxStreamLine) : m_max(maxLineLength) {}

    void append(QByteArrayView bytes);
    // No more bytes will come: an unterminated rest becomes the last line.
    void close();

    // The next complete line, or nullopt until more bytes (or close()) make
    // one. Always nullopt once overflowed().
    std::optional<QByteArray> next();

    // A line longer than the limit arrived or is arriving; nothing more is
    // returned and the buffered bytes are dropped.
    bool overflowed() const { return m_overflowed; }

private:
    std::optional<QByteArray> take(qsizetype end, qsizetype resumeAt);
    void overflow();
    void compact();

    qsizetype m_max;
    QByteArray m_buffer;
    qsizetype m_pos = 0;     // start of the line being assembled
    qsizetype m_scanned = 0; // bytes from m_pos known to hold no terminator
    bool m_skipLf = false;   // the last line ended with CR; an LF next belongs to it
    bool m_closed = false;
    bool m_overflowed = false;
};

} // namespace tavolen::protocol
