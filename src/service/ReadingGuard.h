// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"
#include "service/Engine.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tavolen::service {

// What the service holds every engine's reading to, whoever wrote it: a
// model can be talked into anything by the screenshot it reads, and the app
// shows these fields as they come and copies the best reply by itself.
//
// The phrase lists' risk reading of the captured text is a floor: a reading
// never says less. Where they say high, nothing is offered to send. Every
// text is bounded and rid of control, direction and invisible characters,
// and a reply that carries a code, a password, a card number or a link is
// never copied without the person choosing it.
//
// One guard serves one reading; its early fields come from one thread.
class ReadingGuard {
public:
    // The floor is read from `capturedText` here, before any engine runs;
    // its reason is written in the interface language `uiLanguage`.
    ReadingGuard(const QString &capturedText, const QString &uiLanguage);

    // "high", "medium" or "low".
    const QString &floorLevel() const { return m_floorLevel; }

    // Passes one early field on to `out` as the app may see it. A risk
    // level below the floor is raised to it; a risk reason waits until the
    // level has gone out, so that it never explains a rating the app did
    // not receive.
    void passField(const protocol::FieldEvent &event, const FieldSink &out);

    // The finished reading held to the same terms. Returns what was changed,
    // as short codes for the log (never any of the text).
    QStringList apply(protocol::AnalysisResult &result) const;

    // An early field sent before the captured text is known: cleaned, and
    // dropped when it is a risk field, as no floor is known yet.
    static std::optional<protocol::FieldEvent> beforeTheFloor(const protocol::FieldEvent &event);

private:
    // One of the five early fields, bounded and cleaned; nullopt for any
    // other field.
    static std::optional<protocol::FieldEvent> cleanedEarly(const protocol::FieldEvent &event);

    QString m_floorLevel;
    std::optional<QString> m_floorReason;
    bool m_zh = false;
    bool m_levelSent = false;
    bool m_levelWasRaised = false;
    bool m_reasonWaiting = false;
    std::optional<QString> m_waitingReason;
};

// `text` with control characters (line breaks kept as '\n' only with
// `keepLineBreaks`, else made spaces), direction marks and overrides, and
// zero-width characters taken out, then cut to `cap` characters.
QString cleanedText(const QString &text, qsizetype cap, bool keepLineBreaks);

// Whether `reply` holds what must never land on the clipboard unasked: a
// one-time code, a password, a card number or a link.
bool carriesSecret(const QString &reply);

} // namespace tavolen::service
