// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TavolenCommand.h"

#include "protocol/Endpoints.h"
#include "support/LocalService.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QImage>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/resource.h>

using namespace tavolen::test;
using namespace std::chrono_literals;

namespace {

// The most a run of `tavolen analyze` may hold resident. A build under
// AddressSanitizer (the test and the program are built alike) lifts the
// same run's peak several times over with its shadow memory and the
// quarantine of freed blocks: 466 MB was measured where 33 MB is normal.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kPeakBoundKiB = 700 * 1024;
#else
constexpr long kPeakBoundKiB = 100 * 1024;
#endif

// `tavolen analyze`, its settings pointing it at the scripted service.
class AnalyzeCommand : public TavolenCommand {
protected:
    AnalyzeCommand()
    {
        QSettings conf(configPath(), QSettings::IniFormat);
        conf.setValue("api_base", server.baseUrl());
        conf.setValue("app_lang", "en");
    }

    QString image(QSize size, const char *format)
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(QColor(30, 140, 90));
        const QString path = m_home.filePath(QStringLiteral("picture.") + QString::fromLatin1(format));
        picture.save(path, format);
        return path;
    }

    CommandRun run(const QStringList &arguments)
    {
        return launch(QStringList(QStringLiteral("analyze")) + arguments, environment());
    }

    ScriptedServer server;
};

TEST_F(AnalyzeCommand, PrintsEachPartialThenTheWholeResultAndUploadsAsACaptureDoes)
{
    server.script(kStream,
                  ScriptedResponse::stream({fieldLines("summary", "one"), fieldLines("risk_level", "high"),
                                            eventLines("result", envelopeJson())},
                                           20ms));
    const CommandRun r = run({image({3200, 2000}, "png")});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    ASSERT_EQ(r.lines.size(), 3) << r.output.toStdString();
    EXPECT_EQ(r.lines[0], QJsonObject({{"partial", QJsonObject{{"summary", "one"}}}}));
    EXPECT_EQ(r.lines[1],
              QJsonObject({{"partial", QJsonObject{{"summary", "one"}, {"risk_level", "high"}}}}));
    EXPECT_EQ(r.lines[2].keys(), QStringList{"result"});
    const QJsonObject result = r.lines[2].value("result").toObject();
    EXPECT_EQ(result.size(), 23) << "25 fields, hidden_meaning null and full_translation missing";
    EXPECT_FALSE(result.contains("hidden_meaning"));
    EXPECT_EQ(result.value("summary"), "S");
    EXPECT_EQ(result.value("auto_copy"), true);
    EXPECT_EQ(result.value("respondable"), true);
    EXPECT_EQ(result.value("flags"),
              QJsonObject({{"no_text_detected", false}, {"sensitive_pii", true}, {"unsupported", false}}));

    ASSERT_EQ(server.requests().size(), 1);
    const RecordedRequest upload = server.requests(kStream).value(0);
    EXPECT_EQ(upload.method, "POST");
    EXPECT_EQ(upload.header("Authorization"),
              "Bearer tavolen_ac7e888992e16208c7c2ab2254a678024402284466e9fa66");
    const QString storedId = QSettings(configPath(), QSettings::IniFormat).value("device_id").toString();
    EXPECT_EQ(upload.header("X-Device-Id"), storedId.toUtf8()) << "generated once and kept";
    EXPECT_EQ(QImage::fromData(upload.jpeg(), "JPEG").size(), QSize(1600, 1000)) << "long edge down to 1600";
}

TEST_F(AnalyzeCommand, FollowsTheCaptureFlowsPolicyAndPrintsErrorsInTheChosenLanguage)
{
    const struct {
        QStringList options;
        std::optional<ScriptedResponse> stream, plain;
        int exitCode;
        QStringList keys;
        QString error;
    } cases[] = {
        {{"--plain"}, std::nullopt, ScriptedResponse::body(200, envelopeJson()), 0, {"result"}, {}},
        {{},
         ScriptedResponse::stream({fieldLines("summary", "partial"), eventLines("error", "{}")}),
         ScriptedResponse::body(200, envelopeJson()),
         0,
         {"partial", "result"},
         {}},
        {{},
         ScriptedResponse::body(429, {}),
         std::nullopt,
         1,
         {"error"},
         "You've used today's free analyses."},
        {{"--lang", "zh-Hans"},
         ScriptedResponse::body(500, {}),
         ScriptedResponse::body(200, "<html>"),
         1,
         {"error"},
         "返回格式异常"},
    };
    for (const auto &c : cases) {
        if (c.stream)
            server.script(kStream, *c.stream);
        if (c.plain)
            server.script(kPlain, *c.plain);
        const qsizetype before = server.requests().size();
        const CommandRun r = run(c.options + QStringList{image({40, 30}, "jpeg")});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.errors.toStdString();
        QStringList keys;
        for (const QJsonObject &line : r.lines)
            keys += line.keys();
        EXPECT_EQ(keys, c.keys) << r.output.toStdString();
        EXPECT_EQ(r.lines.value(0).value("error").toString(), c.error);
        // Which calls are made is the capture flow's policy, shown in CaptureFlowNetworkTest.
        const QList<RecordedRequest> uploads = server.requests().mid(before);
        ASSERT_FALSE(uploads.isEmpty());
        EXPECT_EQ(uploads.front().path, c.stream ? kStream : kPlain) << "the stream unless --plain";
        for (const RecordedRequest &upload : uploads) {
            EXPECT_EQ(upload.header("Accept-Language"), c.options.contains("zh-Hans") ? "zh-Hans" : "en");
            EXPECT_EQ(QImage::fromData(upload.jpeg(), "JPEG").size(), QSize(40, 30))
                << "small images stay as they are";
        }
    }
    EXPECT_EQ(QSettings(configPath(), QSettings::IniFormat).value("app_lang"), "en")
        << "--lang leaves the user's own setting alone";
}

TEST_F(AnalyzeCommand, BadUsageAndUnreadableFilesExitWithTwoAndSendNothing)
{
    // Text in a file named like a picture: the content decides, not the name.
    const QString text = writeFile(m_home.filePath(QStringLiteral("notes.png")), "just some words\n");
    const QString picture = image({10, 10}, "png");
    const QList<QStringList> cases = {
        {},
        {"--lang", "fr", picture},
        {"--colour", picture},
        {picture, picture},
        {"/no/such/picture.png"},
        {text},
    };
    for (const QStringList &arguments : cases) {
        const CommandRun r = run(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.output.isEmpty());
        EXPECT_TRUE(r.errors.contains("tavolen analyze: ")) << r.errors.toStdString();
    }
    const CommandRun help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains("tavolen analyze [--plain] [--lang en|zh-Hans] IMAGE"));
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(AnalyzeCommand, AnEndlessFastServiceCannotGrowTheProcessPast100MB)
{
    // Lines longer than any document: the first one ends each call.
    const QByteArray huge(2 * 1024 * 1024, 'x');
    server.script(kStream, ScriptedResponse::endless(huge));
    server.script(kPlain, ScriptedResponse::endless(huge));
    const CommandRun r = run({image({40, 30}, "png")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.lines.value(0).value("error").toString(), "Unexpected response");

    // Valid partial readings for ever, as fast as loopback carries them.
    server.script(kStream, ScriptedResponse::endless(fieldLines("summary", QByteArray(1000, 's'))));
    QProcess endless;
    endless.setProcessEnvironment(environment());
    endless.start(QStringLiteral(TAVOLEN_BINARY), {"analyze", image({40, 30}, "png")});
    ASSERT_TRUE(endless.waitForStarted());
    QTest::qWait(3000);
    EXPECT_EQ(endless.state(), QProcess::Running) << "only the deadline ends it";
    endless.kill();
    endless.waitForFinished();
    ASSERT_GT(server.requests(kStream).back().bytesSent, 4 * 1024 * 1024) << "the service kept pouring";

    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_LT(usage.ru_maxrss, kPeakBoundKiB) << "peak resident KiB of the largest run";
}

TEST_F(AnalyzeCommand, WithoutAGraphicalSessionCaptureAndTheAppSaySoInTheUsersLanguageAndExitWithOne)
{
    const QProcessEnvironment env = environment(); // no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM
    const struct {
        const char *lang;
        QString said;
    } rows[] = {
        {"en", "No graphical session found (DISPLAY and WAYLAND_DISPLAY are unset)\n"},
        {"zh", "未找到图形会话（DISPLAY 和 WAYLAND_DISPLAY 均未设置）\n"},
    };
    for (const auto &row : rows) {
        QSettings(configPath(), QSettings::IniFormat).setValue("app_lang", row.lang);
        for (const QStringList &arguments : {QStringList{"capture"}, QStringList{}}) {
            const CommandRun r = launch(arguments, env);
            EXPECT_EQ(r.exitCode, 1) << "exits, not aborts: " << arguments.join(' ').toStdString();
            EXPECT_EQ(r.errors, row.said);
            EXPECT_TRUE(r.output.isEmpty());
        }
    }
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(AnalyzeCommand, CaptureWhereNothingCanBeCapturedSaysSoAndExitsWithOne)
{
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (int i = 0; i < 20; ++i) {
        const CommandRun r = launch({QStringLiteral("capture")}, env);
        ASSERT_EQ(r.exitCode, 1) << "run " << i << ": " << r.errors.toStdString();
        ASSERT_EQ(r.lines.value(0).value("state").toString(), "permission") << r.output.toStdString();
    }
}

} // namespace

TEST_F(AnalyzeCommand, ReadsARenderedPostThroughTheLocalServiceFieldsFirst)
{
    // A post as it looks on screen.
    QImage post(1200, 420, QImage::Format_RGB32);
    post.fill(Qt::white);
    {
        QPainter painter(&post);
        painter.setPen(QColor(20, 20, 20));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
        painter.drawText(QRect(40, 30, 1120, 360), Qt::TextWordWrap,
                         QStringLiteral("Congratulations! You have won a $500 gift card.\n"
                                        "Click here to claim your prize now: http://win.example.xyz\n"
                                        "Act now, this offer expires today."));
    }
    const QString path = m_home.filePath(QStringLiteral("post.png"));
    ASSERT_TRUE(post.save(path));

    LocalService service;
    service.start();
    ASSERT_TRUE(service.waitForEngine(QStringLiteral("offline"), 20000)) << "the service came up";
    QSettings(configPath(), QSettings::IniFormat)
        .setValue("api_base", QStringLiteral("http://127.0.0.1:%1").arg(service.port));

    const CommandRun r = run({path});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    ASSERT_GE(r.lines.size(), 2) << r.output.toStdString();
    EXPECT_TRUE(r.lines.front().contains("partial")) << "the reading began before it was complete";
    const QJsonObject result = r.lines.back().value("result").toObject();
    EXPECT_EQ(result.value("risk_level"), "high") << r.output.toStdString();
    EXPECT_TRUE(result.value("summary").toString().contains("gift card")) << r.output.toStdString();
    EXPECT_EQ(result.value("respondable"), false) << "replies need a language model";
}

TEST_F(AnalyzeCommand, TheServiceTakesItsOptionsInEitherFormAndRefusesOthersWithItsUsage)
{
    const auto service = [&](const QStringList &arguments) {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(TAVOLEN_SERVICE_BINARY), arguments);
        if (!process.waitForFinished(30000))
            process.kill();
        return std::pair{
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError())};
    };
    const auto [helpCode, help] = service({"--help"});
    EXPECT_EQ(helpCode, 0);
    EXPECT_TRUE(help.startsWith("Usage: tavolen-service [--config FILE] [--port N] [--host ADDRESS]"));
    for (const QStringList &bad : {QStringList{"--colour"}, QStringList{"--port"}, QStringList{"extra"}}) {
        const auto [code, said] = service(bad);
        EXPECT_EQ(code, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(said.startsWith("tavolen-service: ")) << said.toStdString();
        EXPECT_TRUE(said.contains("Usage: tavolen-service")) << said.toStdString();
    }
    // `--config=FILE` as well as `--config FILE`: the file's mistake is
    // reported by its name and line, before anything starts.
    const QString bad = writeFile(m_home.filePath(QStringLiteral("bad.toml")), "port = 0\n");
    for (const QStringList &form : {QStringList{"--config=" + bad}, QStringList{"--config", bad}}) {
        const auto [code, said] = service(form);
        EXPECT_EQ(code, 2);
        EXPECT_TRUE(said.contains("bad.toml:1: port")) << said.toStdString();
    }
}

TEST_F(AnalyzeCommand, QuietByDefaultAndWithTheLogSwitchedOnItSaysWhatItChoseButNothingOfTheUser)
{
    QProcessEnvironment quiet = environment();
    quiet.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    quiet.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    // (The offscreen platform has its own warnings; a real desktop's run is
    // checked end to end.)
    EXPECT_FALSE(launch({QStringLiteral("capture")}, quiet).errors.contains("tavolen."))
        << "quiet by default";

    QProcessEnvironment logged = quiet;
    logged.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("tavolen.*=true"));
    const QString said = launch({QStringLiteral("capture")}, logged).errors;
    EXPECT_TRUE(said.contains("tavolen.platform: session none")) << said.toStdString();
    EXPECT_TRUE(said.contains("tavolen.platform: backends: none")) << said.toStdString();

    // A whole analysis, logged: its outcome, not its text, token or device id.
    server.script(kStream, ScriptedResponse::stream({eventLines("result", envelopeJson())}));
    const CommandRun run = launch({QStringLiteral("analyze"), image({40, 30}, "png")}, logged);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.errors.contains("tavolen.api: stream: ok")) << run.errors.toStdString();
    const QString deviceId = QSettings(configPath(), QSettings::IniFormat).value("device_id").toString();
    ASSERT_FALSE(deviceId.isEmpty());
    for (const QString &secret :
         {QStringLiteral("Sure!"), QString::fromLatin1(tavolen::protocol::kApiToken), deviceId})
        EXPECT_FALSE(run.errors.contains(secret)) << secret.toStdString();
}
