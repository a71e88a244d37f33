// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ConfigLoader.h"
#include "service/ControlSecret.h"
#include "service/EngineFactory.h"
#include "service/EngineReloader.h"
#include "service/HttpService.h"
#include "service/MemoryAllowanceStore.h"
#include "service/ModelChoice.h"
#include "service/RedisAllowanceStore.h"
#include "service/TesseractExtractor.h"

#include "core/Log.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QString>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace {

void print(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
}

QString usage()
{
    return QStringLiteral(
               "Usage: tavolen-service [--config FILE] [--port N] [--host ADDRESS]\n"
               "\n"
               "Tavolen's local analysis service: reads the text of uploaded screenshots and\n"
               "answers with a reading. Keeps nothing but an optional per-device daily count.\n"
               "\n"
               "Configuration comes from FILE, else $TAVOLEN_SERVICE_CONFIG, else\n"
               "$XDG_CONFIG_HOME/tavolen/service.toml (~/.config/tavolen/service.toml), a\n"
               "TOML file; the llm.* keys may also sit under an [llm] table.\n"
               "\n"
               "model.toml beside that file, written by Tavolen (\"tavolen model use\", Settings),\n"
               "chooses the model over it: engine, and under [llm] base_url, model and\n"
               "api_key = \"keyring\" (the desktop's keyring: service \"tavolen\", key\n"
               "\"llm-api-key\") or \"file\" (llm-api-key beside it, mode 0600).\n"
               "Environment variables override the files, and the options override all.\n"
               "\n"
               "SIGHUP (systemctl --user reload tavolen-service) reads the files and the key\n"
               "again and swaps the engine; readings already running finish on the old one,\n"
               "which also stays when the new one cannot be built. POST /v1/control/reload\n"
               "does the same for a local program bearing the secret in\n"
               "$XDG_RUNTIME_DIR/tavolen/service-PORT.secret.\n"
               "\n"
               "Engines: `offline` (default) reads the text alone and writes no replies;\n"
               "`llm` asks an OpenAI-compatible chat-completions endpoint (a hosted API,\n"
               "llama.cpp's llama-server, Ollama) and is chosen when llm.base_url and\n"
               "llm.model are set.\n"
               "\n"
               "Settings (environment variable, then file key):\n") +
           tavolen::service::configHelp();
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace tavolen::service;

    // Tesseract's OpenMP threads spin against each other and against the
    // other requests' recognisers: one thread a recognition reads a page in
    // about a third of the time on two cores. OpenMP reads the limit when it
    // is loaded, before main, so the process starts again with it set.
    if (!std::getenv("OMP_THREAD_LIMIT")) {
        setenv("OMP_THREAD_LIMIT", "1", 1);
        execv("/proc/self/exe", argv);
        // Without /proc the service still runs, only slower.
    }

    QCoreApplication app(argc, argv);
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption configOption(QStringLiteral("config"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption portOptionName(QStringLiteral("port"), QString(), QStringLiteral("N"));
    const QCommandLineOption hostOptionName(QStringLiteral("host"), QString(), QStringLiteral("ADDRESS"));
    parser.addOptions({help, configOption, portOptionName, hostOptionName});
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString error =
            parser.positionalArguments().isEmpty()
                ? parser.errorText()
                : QStringLiteral("unknown argument %1").arg(parser.positionalArguments().front());
        print(QStringLiteral("tavolen-service: %1\n\n").arg(error) + usage());
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    const QString configPath =
        parser.isSet(configOption) ? parser.value(configOption) : defaultConfigPath(env);
    const QString portOption = parser.value(portOptionName);
    const QString hostOption = parser.value(hostOptionName);

    const bool named =
        parser.isSet(configOption) || !env.value(QStringLiteral("TAVOLEN_SERVICE_CONFIG")).isEmpty();
    QProcessEnvironment options;
    if (!portOption.isEmpty())
        options.insert(QStringLiteral("TAVOLEN_SERVICE_PORT"), portOption);
    if (!hostOption.isEmpty())
        options.insert(QStringLiteral("TAVOLEN_SERVICE_HOST"), hostOption);
    // At start and at every reload: the files as they are now, under the
    // environment and the options this process was started with.
    const auto loadAll = [=] {
        ConfigLoad load = loadConfig(configPath, env, named ? ConfigFile::Named : ConfigFile::Default);
        applyEnvironment(options, load);
        return load;
    };
    ConfigLoad load = loadAll();
    for (const QString &w : load.warnings)
        print(QStringLiteral("tavolen-service: warning: %1\n").arg(w));
    if (!load.errors.isEmpty()) {
        for (const QString &e : load.errors)
            print(QStringLiteral("tavolen-service: %1\n").arg(e));
        return 2;
    }
    const ServiceConfig &config = load.config;
    const QString configDir = QFileInfo(configPath).absolutePath();
    qCInfo(lcService).noquote() << "configuration:" << configPath
                                << (QFileInfo::exists(configPath) ? "" : "(absent: defaults)");
    if (const QString choice = modelChoicePath(configPath); QFileInfo::exists(choice))
        qCInfo(lcService).noquote() << "model chosen in:" << choice;

    // SIGINT and SIGTERM (stop) and SIGHUP (reload) are taken by a thread of
    // their own; every other thread, the keyring's D-Bus thread among them,
    // inherits the blocked mask.
    sigset_t handled;
    sigemptyset(&handled);
    sigaddset(&handled, SIGINT);
    sigaddset(&handled, SIGTERM);
    sigaddset(&handled, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &handled, nullptr);

    // The key may come from the keyring, which answers through the event loop.
    std::unique_ptr<Engine> first;
    QString engineError;
    bool built = false;
    QEventLoop keyWait;
    buildEngine(config, configDir, [&](std::unique_ptr<Engine> engine, const QString &error) {
        first = std::move(engine);
        engineError = error;
        built = true;
        keyWait.quit();
    });
    if (!built)
        keyWait.exec();
    if (!first) {
        print(QStringLiteral("tavolen-service: %1\n").arg(engineError));
        return 2;
    }
    EngineSlot engines(std::move(first));
    const QString engineName = engines.current()->name();
    qCInfo(lcService).noquote() << "engine:" << engineName;

    const int instances = config.ocrInstances > 0 ? config.ocrInstances
                                                  : int(std::max(1u, std::thread::hardware_concurrency()));
    TesseractExtractor extractor(config.ocrLanguages, config.tessdataDir, instances);
    if (!extractor.error().isEmpty()) {
        print(QStringLiteral("tavolen-service: %1\n").arg(extractor.error()));
        return 1;
    }

    // Checked when the configuration was read.
    QString unused;
    std::unique_ptr<AllowanceStore> allowance;
    if (const auto redis = RedisAddress::parse(config.allowanceStore, unused);
        redis && config.dailyAllowance > 0)
        allowance = std::make_unique<RedisAllowanceStore>(*redis);
    else
        allowance = std::make_unique<MemoryAllowanceStore>();

    EngineReloader reloader(engines, loadAll, configDir, [](const QString &line) {
        print(QStringLiteral("tavolen-service: %1\n").arg(line));
    });
    HttpService::Parts parts{config, engines, extractor, *allowance};
    parts.reload = [&reloader](ReloadDone done) { reloader.reload(std::move(done)); };
    HttpService service(std::move(parts));
    const QString bindError = service.bind();
    if (!bindError.isEmpty()) {
        print(QStringLiteral("tavolen-service: %1\n").arg(bindError));
        return 1;
    }
    // Where the app finds the secret for the reload endpoint; without a
    // runtime directory the service reloads on SIGHUP alone.
    std::unique_ptr<ControlSecret> secret;
    if (const QString runtimeDir = env.value(QStringLiteral("XDG_RUNTIME_DIR")); !runtimeDir.isEmpty()) {
        QString secretError;
        secret = ControlSecret::create(runtimeDir, service.port(), secretError);
        if (secret)
            service.setControlSecret(secret->value());
        else
            print(QStringLiteral("tavolen-service: warning: no reload endpoint: %1\n").arg(secretError));
    }
    print(
        QStringLiteral("tavolen-service: listening on http://%1:%2 (engine %3, %4 text recognisers, "
                       "daily allowance %5)\n")
            .arg(config.host)
            .arg(service.port())
            .arg(engineName)
            .arg(extractor.instances())
            .arg(config.dailyAllowance > 0 ? QString::number(config.dailyAllowance) : QStringLiteral("off")));

    std::atomic<bool> ending{false};
    std::thread waiter([&] {
        for (;;) {
            int signal = 0;
            sigwait(&handled, &signal);
            if (ending)
                return;
            if (signal == SIGHUP) {
                print(QStringLiteral("tavolen-service: reloading\n"));
                // The reloader says how it went.
                reloader.reload([](const ReloadOutcome &) {});
                continue;
            }
            print(QStringLiteral("tavolen-service: stopping\n"));
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
            return;
        }
    });
    // Beast serves on threads of its own; this one runs the event loop that
    // reloads and reads the keyring. serve() also returns when the server
    // fails, which ends the service.
    std::thread server([&] {
        service.serve();
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    // Reloads still waiting are answered before the server waits for every
    // answer to go out: the loop that would have run them is gone.
    reloader.abandon();
    service.stop();
    server.join();
    ending = true;
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return 0;
}
