#include "app/ReadingJson.h"

#include <nlohmann/json.hpp>

namespace tavolen::app {

namespace {

using json = nlohmann::ordered_json;

std::string utf8(const QString &text)
{
    return text.toStdString();
}

void put(json &object, const char *key, const QString &value)
{
    object[key] = utf8(value);
}

void put(json &object, const char *key, const std::optional<QString> &value)
{
    if (value)
        object[key] = utf8(*value);
}

QByteArray line(const char *key, json value)
{
    json outer;
    outer[key] = std::move(value);
    // Texts came from a strict decoder or from our own literals, so they are
    // valid UTF-8; replace rather than throw should that ever change.
    const std::string text = outer.dump(-1, ' ', false, json::error_handler_t::replace);
    return QByteArray::fromStdString(text);
}

} // namespace

QByteArray partialLine(const api::StreamPartial &p)
{
    json o = json::object();
    put(o, "tone_label", p.tone_label);
    put(o, "summary", p.summary);
    put(o, "hidden_meaning", p.hidden_meaning);
    put(o, "risk_level", p.risk_level);
    put(o, "risk_reason", p.risk_reason);
    return line("partial", std::move(o));
}

QByteArray resultLine(const api::AnalysisResult &r)
{
    json o = json::object();
    put(o, "platform", r.platform);
    put(o, "content_type", r.content_type);
    put(o, "detected_language", r.detected_language);
    put(o, "summary", r.summary);
    put(o, "hidden_meaning", r.hidden_meaning);
    put(o, "full_translation", r.full_translation);
    put(o, "tone", r.tone);
    put(o, "tone_label", r.tone_label);
    put(o, "intent", r.intent);
    put(o, "risk_level", r.risk_level);
    put(o, "risk_reason", r.risk_reason);
    put(o, "recommended_action", r.recommended_action);
    put(o, "action_reason", r.action_reason);
    o["auto_copy"] = r.auto_copy;
    if (r.respondable)
        o["respondable"] = *r.respondable;
    put(o, "reply_language", r.reply_language);
    put(o, "best_reply", r.best_reply);
    put(o, "short_reply", r.short_reply);
    put(o, "alternative_reply", r.alternative_reply);
    put(o, "best_reply_label", r.best_reply_label);
    put(o, "alternative_reply_label", r.alternative_reply_label);
    put(o, "best_reply_gloss", r.best_reply_gloss);
    put(o, "short_reply_gloss", r.short_reply_gloss);
    put(o, "alternative_reply_gloss", r.alternative_reply_gloss);
    json flags = json::object();
    flags["no_text_detected"] = r.flags.no_text_detected;
    flags["sensitive_pii"] = r.flags.sensitive_pii;
    flags["unsupported"] = r.flags.unsupported;
    o["flags"] = std::move(flags);
    return line("result", std::move(o));
}

QByteArray errorLine(const QString &text)
{
    return line("error", utf8(text));
}

} // namespace tavolen::app
