// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ConfigLoader.h"

#include "service/llm/ChatEndpoint.h"

#include "protocol/Endpoints.h"
#include "service/ModelChoice.h"
#include "service/RedisAllowanceStore.h"
#include "service/TomlConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace tavolen::service {

namespace {

// A setting as the file names it and as the environment names it. `set`
// returns what is wrong with the value, or an empty text.
struct Setting {
    const char *key;
    const char *env;
    const char *help;
    std::function<QString(const QString &, ServiceConfig &)> set;
};

// A whole number from `min` to `max`, with `_` allowed between digits.
std::optional<int> wholeNumber(const QString &raw, int min, int max)
{
    bool ok = false;
    const int v = QString(raw).remove(QLatin1Char('_')).trimmed().toInt(&ok);
    if (!ok || v < min || v > max)
        return std::nullopt;
    return v;
}

QString notWholeNumber(int min, int max)
{
    return QStringLiteral("expected a whole number from %1 to %2").arg(min).arg(max);
}

std::function<QString(const QString &, ServiceConfig &)> integer(int ServiceConfig::*member, int min, int max)
{
    return [=](const QString &raw, ServiceConfig &c) {
        const std::optional<int> v = wholeNumber(raw, min, max);
        if (!v)
            return notWholeNumber(min, max);
        c.*member = *v;
        return QString();
    };
}

// Text, trimmed; `ifEmpty`, when given, is what an empty value is told.
std::function<QString(const QString &, ServiceConfig &)> text(QString ServiceConfig::*member,
                                                              const char *ifEmpty = nullptr)
{
    return [=](const QString &raw, ServiceConfig &c) {
        const QString v = raw.trimmed();
        if (ifEmpty && v.isEmpty())
            return QString::fromLatin1(ifEmpty);
        c.*member = v;
        return QString();
    };
}

std::optional<bool> boolean(const QString &raw)
{
    const QString v = raw.trimmed().toLower();
    if (v == QLatin1String("true") || v == QLatin1String("1") || v == QLatin1String("yes") ||
        v == QLatin1String("on"))
        return true;
    if (v == QLatin1String("false") || v == QLatin1String("0") || v == QLatin1String("no") ||
        v == QLatin1String("off"))
        return false;
    return std::nullopt;
}

QString httpUrlProblem(const QString &raw)
{
    if (raw.isEmpty())
        return {};
    // The engine's own rule, so that what starts the service also works.
    if (!llm::chatEndpoint(raw))
        return QStringLiteral("expected an http or https URL with a host and no user name or password");
    return {};
}

const std::vector<Setting> &settings()
{
    static const std::vector<Setting> table = {
        {"host", "TAVOLEN_SERVICE_HOST", "address to listen on (127.0.0.1; 0.0.0.0 for every interface)",
         text(&ServiceConfig::host, "expected an address")},
        {"port", "TAVOLEN_SERVICE_PORT", "TCP port (8765)", integer(&ServiceConfig::port, 1, 65535)},
        {"engine", "TAVOLEN_SERVICE_ENGINE",
         "\"offline\" or \"llm\" (llm when a model is configured, else offline)",
         [](const QString &raw, ServiceConfig &c) {
             const QString v = raw.trimmed().toLower();
             if (!v.isEmpty() && v != QLatin1String("offline") && v != QLatin1String("llm"))
                 return QStringLiteral("expected \"offline\" or \"llm\"");
             c.engine = v;
             return QString();
         }},
        {"llm.base_url", "TAVOLEN_SERVICE_LLM_BASE_URL",
         "OpenAI-compatible API base, e.g. http://127.0.0.1:8080/v1",
         [](const QString &raw, ServiceConfig &c) {
             const QString problem = httpUrlProblem(raw.trimmed());
             if (problem.isEmpty())
                 c.llm.base_url = raw.trimmed();
             return problem;
         }},
        {"llm.model", "TAVOLEN_SERVICE_LLM_MODEL", "model name the endpoint knows",
         [](const QString &raw, ServiceConfig &c) {
             c.llm.model = raw.trimmed();
             return QString();
         }},
        {"llm.api_key", "TAVOLEN_SERVICE_LLM_API_KEY",
         "API key, sent as a bearer token (none; model.toml may take it from the keyring or a key file)",
         [](const QString &raw, ServiceConfig &c) {
             const QString key = raw.trimmed();
             // A line break would end the Authorization header early, and
             // every request would fail with the key half sent.
             if (std::any_of(key.begin(), key.end(),
                             [](QChar ch) { return ch.unicode() < 0x20 || ch == u'\x7f'; }))
                 return QStringLiteral("the key holds a line break or another control character");
             c.llm.api_key = key;
             c.apiKeySource = ApiKeySource::Given;
             return QString();
         }},
        {"llm.vision", "TAVOLEN_SERVICE_LLM_VISION", "also send the screenshot to the model (false)",
         [](const QString &raw, ServiceConfig &c) {
             const std::optional<bool> v = boolean(raw);
             if (!v)
                 return QStringLiteral("expected true or false");
             c.llm.vision = *v;
             return QString();
         }},
        {"llm.timeout_seconds", "TAVOLEN_SERVICE_LLM_TIMEOUT",
         "longest wait for the model's whole reading (75)",
         [](const QString &raw, ServiceConfig &c) {
             const std::optional<int> v = wholeNumber(raw, 1, 600);
             if (!v)
                 return notWholeNumber(1, 600);
             c.llm.timeouts.total = std::chrono::seconds(*v);
             // A model may think in silence for as long as it may take at all.
             // From the default, not from what an earlier source set: the
             // environment overrides the file, whatever the file said.
             c.llm.timeouts.idle = std::min(llm::LlmTimeouts{}.idle, c.llm.timeouts.total);
             return QString();
         }},
        {"daily_allowance", "TAVOLEN_SERVICE_DAILY_ALLOWANCE",
         "analyses per device and day, 0 = no limit (0)",
         integer(&ServiceConfig::dailyAllowance, 0, 1000000)},
        {"allowance_store", "TAVOLEN_SERVICE_ALLOWANCE_STORE",
         "where the daily counts live: this process (empty) or redis://[:password@]host[:port][/db], "
         "shared by every instance naming it ()",
         [](const QString &raw, ServiceConfig &c) {
             const QString url = raw.trimmed();
             QString problem;
             if (!url.isEmpty() && !RedisAddress::parse(url, problem))
                 return problem;
             c.allowanceStore = url;
             return QString();
         }},
        {"max_upload_mb", "TAVOLEN_SERVICE_MAX_UPLOAD_MB", "largest upload in MiB (10)",
         [](const QString &raw, ServiceConfig &c) {
             const std::optional<int> v = wholeNumber(raw, 1, 100);
             if (!v)
                 return notWholeNumber(1, 100);
             c.maxUploadBytes = std::int64_t(*v) * 1024 * 1024;
             return QString();
         }},
        {"read_timeout_seconds", "TAVOLEN_SERVICE_READ_TIMEOUT",
         "longest silence while an upload arrives (10)", integer(&ServiceConfig::readTimeoutSeconds, 1, 300)},
        {"upload_timeout_seconds", "TAVOLEN_SERVICE_UPLOAD_TIMEOUT", "longest a whole upload may take (30)",
         integer(&ServiceConfig::uploadTimeoutSeconds, 1, 600)},
        {"keep_alive_seconds", "TAVOLEN_SERVICE_KEEP_ALIVE", "how long an idle connection is kept open (5)",
         integer(&ServiceConfig::keepAliveSeconds, 1, 300)},
        {"workers", "TAVOLEN_SERVICE_WORKERS", "analyses run at once; more wait their turn (8)",
         integer(&ServiceConfig::workers, 1, 256)},
        {"head_timeout_seconds", "TAVOLEN_SERVICE_HEAD_TIMEOUT",
         "longest a request's whole head may take (5)",
         [](const QString &raw, ServiceConfig &c) {
             const std::optional<int> v = wholeNumber(raw, 1, 60);
             if (!v)
                 return notWholeNumber(1, 60);
             c.headTimeout = std::chrono::seconds(*v);
             return QString();
         }},
        {"max_requests", "TAVOLEN_SERVICE_MAX_REQUESTS", "uploads served at once; more are refused (64)",
         integer(&ServiceConfig::maxRequests, 1, 4096)},
        {"plain_timeout_seconds", "TAVOLEN_SERVICE_PLAIN_TIMEOUT",
         "longest a reading for the plain endpoint may take (20)",
         [](const QString &raw, ServiceConfig &c) {
             const std::optional<int> v = wholeNumber(raw, 1, 600);
             if (!v)
                 return notWholeNumber(1, 600);
             c.plainReadingBudget = std::chrono::seconds(*v);
             return QString();
         }},
        {"ocr_instances", "TAVOLEN_SERVICE_OCR_INSTANCES",
         "text recognisers kept loaded, 0 = one per core (0)", integer(&ServiceConfig::ocrInstances, 0, 64)},
        {"ocr_languages", "TAVOLEN_SERVICE_OCR_LANGUAGES", "Tesseract languages (eng+chi_sim)",
         text(&ServiceConfig::ocrLanguages, "expected language names such as eng+chi_sim")},
        {"tessdata_dir", "TAVOLEN_SERVICE_TESSDATA", "folder of *.traineddata (Tesseract's default)",
         text(&ServiceConfig::tessdataDir)},
        {"token", "TAVOLEN_SERVICE_TOKEN", "bearer token uploads must carry (the app's built-in one)",
         text(&ServiceConfig::token, "expected a token")},
    };
    return table;
}

const Setting *findByKey(const QString &key)
{
    for (const Setting &s : settings())
        if (key == QLatin1String(s.key))
            return &s;
    return nullptr;
}

// Sets the value; what is wrong with it, with where it came from, or "".
QString apply(const Setting &s, const QString &raw, const QString &where, ServiceConfig &config)
{
    const QString problem = s.set(raw, config);
    return problem.isEmpty() ? problem
                             : QStringLiteral("%1: %2: %3").arg(where, QLatin1String(s.key), problem);
}

} // namespace

QString applySetting(const QString &key, const QString &value, const QString &where, ServiceConfig &config)
{
    const Setting *s = findByKey(key);
    return s ? apply(*s, value, where, config) : QStringLiteral("%1: unknown key %2").arg(where, key);
}

QString defaultConfigPath(const QProcessEnvironment &env)
{
    const QString explicitPath = env.value(QStringLiteral("TAVOLEN_SERVICE_CONFIG"));
    if (!explicitPath.isEmpty())
        return explicitPath;
    QString base = env.value(QStringLiteral("XDG_CONFIG_HOME"));
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = env.value(QStringLiteral("HOME")) + QStringLiteral("/.config");
    return base + QStringLiteral("/tavolen/service.toml");
}

LineErrors::LineErrors(const TomlDocument &doc, const QString &origin)
{
    for (const TomlProblem &p : doc.problems)
        add(p.line, QStringLiteral("%1:%2: %3%4")
                        .arg(origin)
                        .arg(p.line)
                        .arg(p.key.isEmpty() ? QString() : p.key + QStringLiteral(": "), p.problem));
}

void LineErrors::reportTo(QStringList &out)
{
    std::stable_sort(m_errors.begin(), m_errors.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[line, error] : m_errors)
        out << error;
}

void applyConfigText(const QString &text, const QString &origin, ConfigLoad &out)
{
    const TomlDocument doc = parseTomlConfig(text);
    LineErrors errors(doc, origin);
    for (const TomlEntry &e : doc.entries) {
        const QString where = QStringLiteral("%1:%2").arg(origin).arg(e.line);
        const Setting *s = findByKey(e.key);
        if (!s) {
            out.warnings << QStringLiteral("%1: unknown key %2, ignored").arg(where, e.key);
            continue;
        }
        if (const QString error = apply(*s, e.value, where, out.config); !error.isEmpty())
            errors.add(e.line, error);
    }
    errors.reportTo(out.errors);
}

std::optional<QString> readConfigText(const QString &path, ConfigFile file, QStringList &errors)
{
    // Asked of the file system without opening anything: opening a FIFO
    // waits for a writer, and a device such as /dev/zero never ends.
    const QFileInfo info(path);
    if (!info.exists()) {
        if (file == ConfigFile::Named)
            errors << QStringLiteral("%1: no such file").arg(path);
        return std::nullopt;
    }
    if (!info.isFile()) {
        errors << QStringLiteral("%1: not a regular file").arg(path);
        return std::nullopt;
    }
    // A configuration file is a few hundred bytes; refuse anything huge.
    if (info.size() > kMaxConfigBytes) {
        errors << QStringLiteral("%1: larger than 1 MiB").arg(path);
        return std::nullopt;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        errors << QStringLiteral("%1: cannot be read: %2").arg(path, in.errorString());
        return std::nullopt;
    }
    // Read no more than the limit, should the file have grown meanwhile.
    return QString::fromUtf8(in.read(kMaxConfigBytes));
}

void readConfigFile(const QString &path, ConfigFile file, ConfigLoad &out)
{
    if (const std::optional<QString> text = readConfigText(path, file, out.errors))
        applyConfigText(*text, path, out);
}

void applyEnvironment(const QProcessEnvironment &env, ConfigLoad &out)
{
    for (const Setting &s : settings()) {
        const QString name = QLatin1String(s.env);
        if (env.contains(name))
            if (const QString error = apply(s, env.value(name), name, out.config); !error.isEmpty())
                out.errors << error;
    }
}

ConfigLoad loadConfig(const QString &path, const QProcessEnvironment &env, ConfigFile file)
{
    ConfigLoad out;
    out.config.token = QLatin1String(protocol::kApiToken);
    readConfigFile(path, file, out);
    readModelChoice(modelChoicePath(path), out);
    applyEnvironment(env, out);
    // Half a model is a mistake, not a wish for the offline engine.
    const auto &llm = out.config.llm;
    if (out.config.engine != QLatin1String("offline") && llm.base_url.isEmpty() != llm.model.isEmpty())
        out.errors << (llm.model.isEmpty() ? QStringLiteral("llm.base_url is set but llm.model is not; set "
                                                            "both to use the model, or neither")
                                           : QStringLiteral("llm.model is set but llm.base_url is not; set "
                                                            "both to use the model, or neither"));
    return out;
}

QString configHelp()
{
    QString text;
    for (const Setting &s : settings())
        text += QStringLiteral("  %1\n      %2 = ...   %3\n")
                    .arg(QLatin1String(s.env), QLatin1String(s.key), QLatin1String(s.help));
    return text;
}

} // namespace tavolen::service
