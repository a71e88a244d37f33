#include "app/ReadingJson.h"

#include "api/Encoding.h"

#include <nlohmann/json.hpp>

namespace tavolen::app {

namespace {

using json = nlohmann::ordered_json;

std::string utf8(const QString &text)
{
    return text.toStdString();
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
    return "{\"result\":" + api::encodeAnalysisResult(r) + '}';
}

QByteArray errorLine(const QString &text)
{
    return line("error", utf8(text));
}

} // namespace tavolen::app
