// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/AnalyzeCommand.h"

#include "api/AnalysisService.h"
#include "app/LanguageOverride.h"
#include "app/ReadingJson.h"
#include "capture/JpegEncoder.h"
#include "core/InterfaceLanguage.h"
#include "core/RunToEnd.h"
#include "core/Settings.h"
#include "flow/ErrorTexts.h"

#include <QCommandLineParser>
#include <QImageReader>
#include <QNetworkAccessManager>

#include <cstdio>
#include <memory>

namespace tavolen::app {

namespace {

constexpr int kExitResult = 0;
constexpr int kExitAnalysisError = 1;
constexpr int kExitUsage = 2;

constexpr auto kHelp = R"(Usage: tavolen analyze [--plain] [--lang en|zh-Hans] IMAGE

Reads IMAGE, a PNG or JPEG file, prepares it as a capture is prepared (long
edge at most 1600 pixels, JPEG at quality 85), sends it to the analysis
service and prints the reading, one JSON object a line, on stdout:

  {"partial": {...}}  each partial reading as it streams in (its fields so far)
  {"result": {...}}   the final reading (every field it has)
  {"error": "..."}    why there is no reading, in the words the panel would use

The streaming call comes first; if it fails for any reason but the daily
limit, the plain call is made once. The service is the one the app uses:
"api_base" in $XDG_CONFIG_HOME/tavolen/tavolen.conf, or the built-in one.

Options:
  --plain             make the plain call only, without streaming
  --lang en|zh-Hans   the interface language of this run: its texts and the
                      language asked of the service (default: the app's)
  -h, --help          show this help

Exit status: 0 with a result, 1 after an analysis error, 2 on bad usage or
an image that cannot be read (the reason goes to stderr).
)";

void writeLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    // Partials are for watching as they arrive, also through a pipe.
    std::fflush(stdout);
}

int usageError(const QString &message, bool pointToHelp = true)
{
    std::fprintf(stderr, "tavolen analyze: %s\n", qPrintable(message));
    if (pointToHelp)
        std::fputs("Try 'tavolen analyze --help'.\n", stderr);
    return kExitUsage;
}

struct Options {
    QString image;
    api::AnalysisMode mode = api::AnalysisMode::StreamFirst;
    std::optional<QString> appLang; // the stored form: "en" or "zh"
};

// The options, or the exit code when there is nothing to run.
std::variant<Options, int> parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption plain(QStringLiteral("plain"));
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("language"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({plain, lang, help});
    if (!parser.parse(QStringList(QStringLiteral("tavolen analyze")) + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(kHelp, stdout);
        return kExitResult;
    }
    Options options;
    if (parser.isSet(plain))
        options.mode = api::AnalysisMode::PlainOnly;
    if (parser.isSet(lang)) {
        const QString value = parser.value(lang);
        if (value == QLatin1String("en"))
            options.appLang = QStringLiteral("en");
        else if (value == QLatin1String("zh-Hans"))
            options.appLang = QStringLiteral("zh");
        else
            return usageError(QStringLiteral("--lang takes en or zh-Hans, not '%1'").arg(value));
    }
    const QStringList images = parser.positionalArguments();
    if (images.size() != 1)
        return usageError(images.isEmpty() ? QStringLiteral("no IMAGE given")
                                           : QStringLiteral("one IMAGE at a time"));
    options.image = images.first();
    return options;
}

// The upload-ready JPEG of a PNG or JPEG file, or the reason there is none.
std::variant<QByteArray, QString> prepare(const QString &path)
{
    QImageReader reader(path);
    // A photo's orientation tag turns it the way the user sees it.
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg") {
        if (reader.error() == QImageReader::FileNotFoundError)
            return QStringLiteral("cannot read '%1': %2").arg(path, reader.errorString());
        return QStringLiteral("'%1' is not a PNG or JPEG image").arg(path);
    }
    const QImage image = reader.read();
    if (image.isNull())
        return QStringLiteral("cannot read '%1': %2").arg(path, reader.errorString());
    capture::CaptureOutcome jpeg = capture::jpegData(image);
    if (!jpeg.ok())
        return QStringLiteral("cannot prepare '%1': %2").arg(path, capture::describe(jpeg.error()));
    return std::move(jpeg).value();
}

} // namespace

int runAnalyzeCommand(const QStringList &arguments, SettingsStore &settings)
{
    std::variant<Options, int> parsed = parse(arguments);
    if (const int *exitCode = std::get_if<int>(&parsed))
        return *exitCode;
    const Options &options = std::get<Options>(parsed);

    std::variant<QByteArray, QString> jpeg = prepare(options.image);
    if (const QString *problem = std::get_if<QString>(&jpeg))
        return usageError(*problem, false);

    // --lang speaks for this run only; the user's setting stays as it is.
    std::optional<LanguageOverride> overridden;
    if (options.appLang)
        overridden.emplace(settings, *options.appLang);
    InterfaceLanguage language(overridden ? static_cast<SettingsStore &>(*overridden) : settings);
    language.apply();

    QNetworkAccessManager network;
    network.setCache(nullptr);
    api::NetworkAnalysisService service(network, settings);
    const api::PartialHandler onPartial = [](const protocol::StreamPartial &partial) {
        writeLine(partialLine(partial));
    };
    const api::AnalysisOutcome outcome =
        runToEnd(api::runAnalysis(service, std::get<QByteArray>(std::move(jpeg)), onPartial, options.mode));
    if (outcome.ok())
        writeLine(resultLine(outcome.value().result));
    else
        writeLine(errorLine(flow::texts::analysisError(outcome.error())));
    return outcome.ok() ? kExitResult : kExitAnalysisError;
}

} // namespace tavolen::app
