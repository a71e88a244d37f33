// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ModelCommand.h"

#include "api/ServiceUrl.h"
#include "core/RunToEnd.h"
#include "models/ModelCheck.h"
#include "models/ModelDetector.h"
#include "models/UseModel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QTextStream>

#include <cstdio>

namespace tavolen::app {

namespace {

struct ModelCommandTexts {
    Q_DECLARE_TR_FUNCTIONS(ModelCommandTexts)
};

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr auto kHelp = R"(Usage: tavolen model detect [--json]
       tavolen model use URL MODEL [--key-stdin] [--key-file-ok] [--vision]
       tavolen model use ollama|llama.cpp|lmstudio|vllm MODEL [--vision]
       tavolen model use offline
       tavolen model status [--json]

Chooses what the local analysis service reads screenshots with. Its built-in
engine reads the text and flags risk but writes no replies; a language model
writes full readings and suggested replies.

  detect   looks for Ollama (port 11434), llama.cpp's llama-server (8080),
           LM Studio (1234) and vLLM (8000) on this computer and lists each
           one that answers, with its models
  use      checks the model with one tiny streamed reply (and prints the time
           to its first token), then has the running service use it: no
           restart. URL is an OpenAI-compatible base, e.g.
           https://api.openai.com/v1. With --key-stdin the API key is read
           from standard input and kept in the desktop's keyring; where no
           keyring answers, --key-file-ok allows a file only you can read.
           --vision is for a model that reads pictures: it is sent the
           screenshot and asked at once, before the text is recognised,
           which saves a few hundred milliseconds
           `use offline` goes back to the built-in engine
  status   which engine the service runs, with which model, and whether the
           model answers now

Exit status: 0 when done, 1 when it could not be done (the reason goes to
stderr), 2 on bad usage.
)";

void out(const QString &text)
{
    QTextStream(stdout) << text << '\n';
}

void err(const QString &text)
{
    QTextStream(stderr) << text << '\n';
}

int usage(const QString &problem)
{
    err(QStringLiteral("tavolen model: ") + problem);
    err(ModelCommandTexts::tr("Try 'tavolen model --help'."));
    return kExitUsage;
}

QString modelList(const QStringList &models)
{
    return models.isEmpty() ? ModelCommandTexts::tr("(no models yet)") : models.join(QStringLiteral(", "));
}

int detect(QNetworkAccessManager &network, bool json)
{
    const std::vector<models::ModelServer> found = runToEnd(models::detectModelServers(network));
    if (json) {
        QJsonArray servers;
        for (const models::ModelServer &server : found)
            servers.append(
                QJsonObject{{QStringLiteral("name"), server.name},
                            {QStringLiteral("base_url"), server.baseUrl.toString()},
                            {QStringLiteral("models"), QJsonArray::fromStringList(server.models)}});
        out(QString::fromUtf8(QJsonDocument(servers).toJson(QJsonDocument::Compact)));
    } else if (found.empty()) {
        err(ModelCommandTexts::tr("No model server answers on this computer (looked for Ollama, llama.cpp, "
                                  "LM Studio and vLLM at their usual ports)."));
    }
    if (!json)
        for (const models::ModelServer &server : found)
            out(QStringLiteral("%1\t%2\t%3")
                    .arg(server.name, server.baseUrl.toString(), modelList(server.models)));
    return found.empty() ? kExitFailed : kExitDone;
}

// A known server's name as typed ("ollama", "LM Studio") to its base URL.
std::optional<QUrl> knownBase(const QString &typed)
{
    const auto simple = [](QString name) {
        return name.remove(QLatin1Char(' ')).remove(QLatin1Char('.')).toLower();
    };
    for (const models::KnownServer &server : models::knownServers())
        if (simple(server.name) == simple(typed))
            return QUrl(QStringLiteral("http://127.0.0.1:%1/v1").arg(server.port));
    return std::nullopt;
}

QString describeEngine(const models::EngineInfo &info)
{
    if (!info.writesReplies && info.model.isEmpty())
        return ModelCommandTexts::tr(
                   "the built-in engine (%1): reads the text and flags risk; writes no replies")
            .arg(info.engine);
    return ModelCommandTexts::tr("%1 at %2").arg(info.model, info.baseUrl.toDisplayString());
}

int use(QNetworkAccessManager &network, const SettingsStore &settings, const QStringList &args, bool keyStdin,
        bool keyFileOk, bool vision)
{
    models::ServiceTarget target{api::base(settings), models::serviceConfigDir()};
    if (args.size() == 1 && args.front() == QLatin1String("offline")) {
        const models::UseOutcome outcome = runToEnd(models::useBuiltIn(network, target));
        if (!outcome.ok()) {
            err(outcome.problem);
            return kExitFailed;
        }
        out(ModelCommandTexts::tr("The analysis service now uses %1.").arg(describeEngine(*outcome.engine)));
        return kExitDone;
    }
    if (args.size() != 2)
        return usage(ModelCommandTexts::tr("use takes URL and MODEL, a server's name and MODEL, or offline"));
    models::ModelEndpoint endpoint{knownBase(args[0]).value_or(QUrl(args[0])), args[1], {}, vision};
    if (keyStdin)
        endpoint.apiKey = QTextStream(stdin).readAll().trimmed();
    out(ModelCommandTexts::tr("Checking %1 at %2…").arg(endpoint.model, endpoint.baseUrl.toDisplayString()));
    const models::UseOutcome outcome = runToEnd(models::useModel(network, target, endpoint, keyFileOk));
    if (outcome.firstToken)
        out(ModelCommandTexts::tr("First token after %1 ms.").arg(outcome.firstToken->count()));
    if (outcome.keyStored == models::KeySource::Keyring)
        out(ModelCommandTexts::tr("The API key is in your keyring."));
    else if (outcome.keyStored == models::KeySource::File)
        out(ModelCommandTexts::tr("The API key is in %1/llm-api-key, readable by you alone.")
                .arg(target.configDir));
    if (!outcome.ok()) {
        err(outcome.problem);
        if (outcome.needsKeyFileConsent)
            err(ModelCommandTexts::tr("Run it again with --key-file-ok to allow that."));
        return kExitFailed;
    }
    out(ModelCommandTexts::tr("The analysis service now uses %1.").arg(describeEngine(*outcome.engine)));
    return kExitDone;
}

int status(QNetworkAccessManager &network, const SettingsStore &settings, bool json)
{
    const QUrl base = api::base(settings);
    const std::optional<models::EngineInfo> info = runToEnd(models::serviceStatus(network, base));
    if (!info) {
        err(ModelCommandTexts::tr("The analysis service at %1 does not answer.").arg(base.toDisplayString()));
        return kExitFailed;
    }
    std::optional<models::CheckOutcome> checked;
    if (!info->model.isEmpty() && info->baseUrl.isValid())
        // The service holds the key; without it a hosted model may refuse,
        // which still says that it is there.
        checked =
            runToEnd(models::checkModel(network, {info->baseUrl, info->model, {}}, std::chrono::seconds(20)));
    const auto *firstToken = checked ? std::get_if<std::chrono::milliseconds>(&*checked) : nullptr;
    const auto *failure = checked ? std::get_if<models::CheckFailure>(&*checked) : nullptr;
    if (json) {
        QJsonObject object{
            {QStringLiteral("service"), base.toString()},
            {QStringLiteral("engine"), info->engine},
            {QStringLiteral("model"), info->model.isEmpty() ? QJsonValue() : info->model},
            {QStringLiteral("base_url"), info->model.isEmpty() ? QJsonValue() : info->baseUrl.toString()},
            {QStringLiteral("replies"), info->writesReplies}};
        if (checked)
            object.insert(QStringLiteral("model_answers"), firstToken != nullptr);
        out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
        return kExitDone;
    }
    out(ModelCommandTexts::tr("The analysis service at %1 uses %2.")
            .arg(base.toDisplayString(), describeEngine(*info)));
    if (firstToken)
        out(ModelCommandTexts::tr("The model answers: first token after %1 ms.").arg(firstToken->count()));
    else if (failure && failure->kind == models::CheckFailure::Kind::KeyRefused)
        out(ModelCommandTexts::tr("The model server answers (it wants the key the service holds)."));
    else if (failure)
        out(models::describe(*failure, {info->baseUrl, info->model, {}}));
    else
        out(ModelCommandTexts::tr("For replies, connect a language model: tavolen model detect, then "
                                  "tavolen model use."));
    return kExitDone;
}

} // namespace

int runModelCommand(const QStringList &arguments, SettingsStore &settings)
{
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption keyStdin(QStringLiteral("key-stdin"));
    const QCommandLineOption keyFileOk(QStringLiteral("key-file-ok"));
    const QCommandLineOption vision(QStringLiteral("vision"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({json, keyStdin, keyFileOk, vision, help});
    if (!parser.parse(QStringList(QStringLiteral("tavolen model")) + arguments))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(kHelp, stdout);
        return kExitDone;
    }
    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usage(ModelCommandTexts::tr("say detect, use or status"));
    const QString verb = args.takeFirst();
    QNetworkAccessManager network;
    network.setCache(nullptr);
    if (verb == QLatin1String("detect") && args.isEmpty())
        return detect(network, parser.isSet(json));
    if (verb == QLatin1String("status") && args.isEmpty())
        return status(network, settings, parser.isSet(json));
    if (verb == QLatin1String("use"))
        return use(network, settings, args, parser.isSet(keyStdin), parser.isSet(keyFileOk),
                   parser.isSet(vision));
    return usage(ModelCommandTexts::tr("unknown command “%1”").arg((QStringList{verb} + args).join(u' ')));
}

} // namespace tavolen::app
