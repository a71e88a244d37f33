// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/ModelReading.h"

#include "protocol/Decoding.h"
#include "service/llm/LlmFailures.h"

#include <QStringList>

#include <nlohmann/json.hpp>

#include <array>

namespace tavolen::service::llm {

namespace {

using json = nlohmann::json;

constexpr std::array<const char *, 6> kRequiredWithoutDefault{
    "summary", "tone", "intent", "risk_level", "recommended_action", "action_reason"};

EngineFailure invalid(const QString &detail)
{
    return llmFailure("model_output_invalid", detail);
}

bool missing(const json &object, const char *key)
{
    const auto it = object.find(key);
    return it == object.end() || it->is_null();
}

void fillDefaults(json &o)
{
    for (const char *key : {"platform", "content_type", "detected_language"})
        if (missing(o, key))
            o[key] = "unknown";
    if (missing(o, "auto_copy")) {
        // The client copies the best reply when one is offered and the post
        // is respondable; the flag says the same.
        const bool respondable =
            !o.contains("respondable") || !o["respondable"].is_boolean() || o["respondable"].get<bool>();
        const bool hasReply = o.contains("best_reply") && o["best_reply"].is_string() &&
                              !o["best_reply"].get_ref<const std::string &>().empty();
        o["auto_copy"] = respondable && hasReply;
    }
    if (missing(o, "flags"))
        o["flags"] = json::object();
    if (json &flags = o["flags"]; flags.is_object())
        for (const char *key : {"no_text_detected", "sensitive_pii", "unsupported"})
            if (missing(flags, key))
                flags[key] = false;
}

} // namespace

std::optional<QString> normalizedRiskLevel(const QString &level)
{
    const QString grade = level.trimmed().toLower();
    if (grade == u"high" || grade == u"medium" || grade == u"low")
        return grade;
    return std::nullopt;
}

EngineOutcome readingFromModelObject(std::string_view objectText)
{
    // The model may write anything; a tree nested thousands deep would take
    // the service down when printed.
    if (!protocol::shallowEnough(QByteArrayView(objectText.data(), qsizetype(objectText.size()))))
        return invalid(QStringLiteral("the model's answer nests deeper than a reading can"));
    json o = json::parse(objectText.begin(), objectText.end(), nullptr, /*allow_exceptions=*/false);
    if (o.is_discarded())
        return invalid(QStringLiteral("the model's answer is not well-formed JSON"));
    if (!o.is_object())
        return invalid(QStringLiteral("the model's answer is not a JSON object"));

    QStringList absent;
    for (const char *key : kRequiredWithoutDefault)
        if (missing(o, key))
            absent << QString::fromLatin1(key);
    if (!absent.isEmpty())
        return invalid(QStringLiteral("the model's reading lacks %1").arg(absent.join(u", ")));

    if (json &risk = o["risk_level"]; risk.is_string()) {
        const QString written = QString::fromStdString(risk.get_ref<const std::string &>());
        const std::optional<QString> level = normalizedRiskLevel(written);
        if (!level)
            return invalid(QStringLiteral("the model's risk_level (%1 characters) is not high, medium or low")
                               .arg(written.size()));
        risk = level->toStdString();
    }
    fillDefaults(o);

    // The reading is checked exactly as the client will check it.
    const std::string encoded = o.dump(-1, ' ', false, json::error_handler_t::replace);
    std::optional<protocol::AnalysisResult> result =
        protocol::decodeAnalysisResult(QByteArray::fromStdString(encoded));
    if (!result)
        return invalid(QStringLiteral("a member of the model's reading has the wrong type"));
    return *result;
}

} // namespace tavolen::service::llm
