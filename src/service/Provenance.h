// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/TextCues.h"

#include <QString>

namespace tavolen::service {

// Where a text seems to come from, judged by the application's own words
// around it. "unknown" where the cues say nothing.
struct Provenance {
    // "x", "weibo", "wechat", "reddit", "facebook", "instagram", "linkedin",
    // "tiktok", "douyin", "xiaohongshu", "whatsapp", "telegram", "discord",
    // "slack", "sms", "email" or "unknown".
    QString platform = QStringLiteral("unknown");
    // "post", "comment", "message", "email", "text" (something written, of no
    // clear kind) or "none" (no text at all).
    QString contentType = QStringLiteral("text");
};

Provenance guessProvenance(const TextCues &cues, bool hasText);

} // namespace tavolen::service
