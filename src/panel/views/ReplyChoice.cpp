// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/ReplyChoice.h"

#include "panel/views/PanelTexts.h"

namespace tavolen::panel::reply {

std::optional<QString> shownText(const protocol::AnalysisResult &r, Variant v)
{
    switch (v) {
    case Variant::Best:
        return r.best_reply;
    case Variant::Short:
        return r.short_reply ? r.short_reply : r.best_reply;
    case Variant::Alternative:
        return r.alternative_reply ? r.alternative_reply : r.best_reply;
    }
    return r.best_reply;
}

std::optional<QString> shownGloss(const protocol::AnalysisResult &r, Variant v)
{
    switch (v) {
    case Variant::Best:
        return r.best_reply_gloss;
    case Variant::Short:
        return r.short_reply_gloss ? r.short_reply_gloss : r.best_reply_gloss;
    case Variant::Alternative:
        return r.alternative_reply_gloss;
    }
    return r.best_reply_gloss;
}

bool hasReply(const protocol::AnalysisResult &r, Variant v)
{
    const std::optional<QString> text = shownText(r, v);
    return r.respondable.value_or(true) && text && !text->isEmpty();
}

bool showsAlternativeChip(const protocol::AnalysisResult &r)
{
    return r.alternative_reply_label && r.alternative_reply;
}

bool showsShortChip(const protocol::AnalysisResult &r)
{
    return r.short_reply.has_value();
}

QString alternativeChipTitle(const protocol::AnalysisResult &r, Variant v)
{
    if (v == Variant::Alternative)
        return r.best_reply_label.value_or(texts::original());
    return r.alternative_reply_label.value_or(QString());
}

QString shortChipTitle(Variant v)
{
    return v == Variant::Short ? texts::original() : texts::shorter();
}

Variant afterAlternativeChip(Variant v)
{
    return v == Variant::Alternative ? Variant::Best : Variant::Alternative;
}

Variant afterShortChip(Variant v)
{
    return v == Variant::Short ? Variant::Best : Variant::Short;
}

} // namespace tavolen::panel::reply
