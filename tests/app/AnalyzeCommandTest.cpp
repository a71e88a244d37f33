#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavolen::test;
using namespace std::chrono_literals;

namespace {

const QByteArray kStream = "/v1/analyze-screenshot-stream";
const QByteArray kPlain = "/v1/analyze-screenshot";

QByteArray field(const QByteArray &name, const QByteArray &value)
{
    return eventLines("field", fieldJson(name, '"' + value + '"'));
}

struct CommandRun {
    int exitCode = -1;
    QByteArray output; // stdout
    QString errors;    // stderr
    // Lines on stdout that are each one JSON object.
    QList<QJsonObject> lines;
    bool allLinesJson = true;
};

// The built `tavolen` with its own configuration directory, whose settings
// point it at the scripted service.
class AnalyzeCommand : public ::testing::Test {
protected:
    AnalyzeCommand()
    {
        QDir(m_home.path()).mkpath(QStringLiteral("tavolen"));
        QSettings conf(configPath(), QSettings::IniFormat);
        conf.setValue(QStringLiteral("api_base"), server.baseUrl());
        conf.setValue(QStringLiteral("app_lang"), QStringLiteral("en"));
    }

    QString configPath() const { return m_home.filePath(QStringLiteral("tavolen/tavolen.conf")); }

    QString image(QSize size, const char *format = "PNG")
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(QColor(30, 140, 90));
        const QString path =
            m_home.filePath(QStringLiteral("picture.%1").arg(QString::fromLatin1(format).toLower()));
        picture.save(path, format);
        return path;
    }

    // Text in a file named like a picture: the content decides, not the name.
    QString textFile()
    {
        const QString path = m_home.filePath(QStringLiteral("notes.png"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("just some words\n");
        return path;
    }

    CommandRun run(const QStringList &arguments, bool withDisplayVariables = true)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
        if (!withDisplayVariables)
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                env.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TAVOLEN_BINARY), QStringList(QStringLiteral("analyze")) + arguments);
        CommandRun out;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "tavolen analyze did not finish";
            return out;
        }
        out.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        out.errors = QString::fromUtf8(process.readAllStandardError());
        out.output = process.readAllStandardOutput();
        for (const QByteArray &line : out.output.split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonDocument doc = QJsonDocument::fromJson(line);
            out.allLinesJson = out.allLinesJson && doc.isObject();
            out.lines.append(doc.object());
        }
        return out;
    }

    ScriptedServer server;

private:
    QTemporaryDir m_home;
};

TEST_F(AnalyzeCommand, PrintsEachPartialThenTheWholeResult)
{
    server.script(kStream, ScriptedResponse::stream({field("summary", "one"), field("risk_level", "high"),
                                                     eventLines("result", envelopeJson())},
                                                    20ms));
    const CommandRun r = run({image({3200, 2000})});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_TRUE(r.allLinesJson) << r.output.toStdString();
    ASSERT_EQ(r.lines.size(), 3);
    EXPECT_EQ(r.lines[0], QJsonObject({{"partial", QJsonObject{{"summary", "one"}}}}));
    EXPECT_EQ(r.lines[1],
              QJsonObject({{"partial", QJsonObject{{"summary", "one"}, {"risk_level", "high"}}}}));

    const QJsonObject result = r.lines[2].value("result").toObject();
    EXPECT_EQ(r.lines[2].keys(), QStringList{"result"});
    EXPECT_EQ(result.size(), 23) << "25 fields, hidden_meaning null and full_translation missing";
    EXPECT_FALSE(result.contains("hidden_meaning"));
    EXPECT_FALSE(result.contains("full_translation"));
    EXPECT_EQ(result.value("summary"), "S");
    EXPECT_EQ(result.value("auto_copy"), true);
    EXPECT_EQ(result.value("respondable"), true);
    EXPECT_EQ(result.value("flags"),
              QJsonObject({{"no_text_detected", false}, {"sensitive_pii", false}, {"unsupported", false}}));
    EXPECT_TRUE(server.requests(kPlain).isEmpty());
}

TEST_F(AnalyzeCommand, UploadIsPreparedAsACaptureIs)
{
    server.script(kStream, ScriptedResponse::stream({eventLines("result", envelopeJson())}));
    ASSERT_EQ(run({image({3200, 2000})}).exitCode, 0);

    const QList<RecordedRequest> requests = server.requests(kStream);
    ASSERT_EQ(requests.size(), 1);
    const RecordedRequest &upload = requests[0];
    EXPECT_EQ(upload.method, "POST");
    EXPECT_EQ(upload.header("Authorization"),
              "Bearer tavolen_ac7e888992e16208c7c2ab2254a678024402284466e9fa66");
    EXPECT_EQ(upload.header("Accept-Language"), "en");
    const QString storedId = QSettings(configPath(), QSettings::IniFormat).value("device_id").toString();
    EXPECT_EQ(upload.header("X-Device-Id"), storedId.toUtf8()) << "the id is generated once and kept";

    const auto parts = upload.parts();
    ASSERT_TRUE(parts && parts->size() == 2) << "a well-formed two-part upload";
    EXPECT_EQ(parts->at(0).name, "meta");
    EXPECT_EQ(QJsonDocument::fromJson(parts->at(0).body).object(),
              QJsonObject({{"ui_language", "en"}, {"user_style", "natural"}, {"regenerate", false}}));
    EXPECT_EQ(parts->at(1).name, "image");
    EXPECT_EQ(parts->at(1).filename, "screenshot.jpg");
    EXPECT_EQ(headerValue(parts->at(1).headers, "Content-Type"), "image/jpeg");
    const QImage sent = QImage::fromData(parts->at(1).body, "JPEG");
    EXPECT_EQ(sent.size(), QSize(1600, 1000)) << "long edge brought down to 1600";
}

TEST_F(AnalyzeCommand, PlainOptionSkipsTheStream)
{
    server.script(kPlain, ScriptedResponse::body(200, envelopeJson()));
    const CommandRun r = run({QStringLiteral("--plain"), image({800, 600}, "JPEG")});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    ASSERT_EQ(r.lines.size(), 1);
    EXPECT_TRUE(r.lines[0].contains("result"));
    EXPECT_TRUE(server.requests(kStream).isEmpty());
    const auto parts = server.requests(kPlain).value(0).parts();
    ASSERT_TRUE(parts && parts->size() == 2);
    EXPECT_EQ(QImage::fromData(parts->at(1).body, "JPEG").size(), QSize(800, 600)) << "small images stay";
}

TEST_F(AnalyzeCommand, FailedStreamFallsBackToThePlainCallOnce)
{
    server.script(kStream,
                  ScriptedResponse::stream({field("summary", "partial"), eventLines("error", "{}")}));
    server.script(kPlain, ScriptedResponse::body(200, envelopeJson()));
    const CommandRun r = run({image({40, 30})});
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    ASSERT_EQ(r.lines.size(), 2);
    EXPECT_TRUE(r.lines[0].contains("partial"));
    EXPECT_TRUE(r.lines[1].contains("result"));
    EXPECT_EQ(server.requests(kPlain).size(), 1);
}

TEST_F(AnalyzeCommand, AnalysisFailurePrintsTheTextInTheChosenLanguage)
{
    server.script(kStream, ScriptedResponse::body(429, {}));
    const CommandRun quota = run({image({40, 30})});
    EXPECT_EQ(quota.exitCode, 1);
    EXPECT_EQ(quota.lines,
              QList<QJsonObject>{QJsonObject({{"error", "You've used today's free analyses."}})});
    EXPECT_TRUE(server.requests(kPlain).isEmpty()) << "no fallback after the daily limit";

    server.script(kStream, ScriptedResponse::body(500, {}));
    server.script(kPlain, ScriptedResponse::body(200, "<html>"));
    const CommandRun zh = run({QStringLiteral("--lang"), QStringLiteral("zh-Hans"), image({40, 30})});
    EXPECT_EQ(zh.exitCode, 1);
    EXPECT_EQ(zh.lines, QList<QJsonObject>{QJsonObject({{"error", "返回格式异常"}})});
    ASSERT_EQ(server.requests().size(), 3);
    for (const RecordedRequest &upload : server.requests().mid(1))
        EXPECT_EQ(upload.header("Accept-Language"), "zh-Hans") << upload.path.toStdString();
    EXPECT_EQ(QSettings(configPath(), QSettings::IniFormat).value("app_lang"), "en")
        << "the user's own setting is left alone";
}

TEST_F(AnalyzeCommand, BadUsageAndUnreadableFilesExitWithTwoAndSendNothing)
{
    const QString text = textFile();
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("--lang"), QStringLiteral("fr"), image({10, 10})},
        {QStringLiteral("--colour"), image({10, 10})},
        {image({10, 10}), image({10, 10})},
        {QStringLiteral("/no/such/picture.png")},
        {text},
    };
    for (const QStringList &arguments : cases) {
        const CommandRun r = run(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.output.isEmpty());
        EXPECT_TRUE(r.errors.contains("tavolen analyze: ")) << r.errors.toStdString();
    }
    EXPECT_TRUE(server.requests().isEmpty());

    const CommandRun help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.contains("tavolen analyze [--plain] [--lang en|zh-Hans] IMAGE"));
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(AnalyzeCommand, RunsWithoutADisplay)
{
    server.script(kStream, ScriptedResponse::stream({eventLines("result", envelopeJson())}));
    const CommandRun r = run({image({40, 30})}, /*withDisplayVariables=*/false);
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    EXPECT_EQ(r.lines.size(), 1);
}

} // namespace
