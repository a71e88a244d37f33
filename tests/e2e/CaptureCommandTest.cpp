#include "e2e/harness/Desktop.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen::e2e;

namespace {

// `tavolen capture` with an analysis service that refuses connections, so a
// run that gets as far as the upload ends in the error state.
class CaptureCommand : public ::testing::Test {
protected:
    // Starts the app and waits until its overlay is on screen.
    bool start()
    {
        QSettings(m_config.filePath(QStringLiteral("tavolen/tavolen.conf")), QSettings::IniFormat)
            .setValue("api_base", "http://127.0.0.1:9");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        m_app.setProcessEnvironment(env);
        m_app.setStandardErrorFile(QProcess::nullDevice());
        m_app.start(QStringLiteral(TAVOLEN_APP), {QStringLiteral("capture")});
        return QTest::qWaitFor(
            [] {
                return !xclient("xdotool", {"search", "--onlyvisible", "--name", "Tavolen selection"})
                            .isEmpty();
            },
            10000);
    }

    // The exit code (-1 on a hang) and the states printed, once the app has exited.
    std::pair<int, QList<QJsonObject>> finish()
    {
        if (!QTest::qWaitFor([&] { return m_app.state() == QProcess::NotRunning; }, 15000)) {
            m_app.kill();
            m_app.waitForFinished();
            return {-1, {}};
        }
        QList<QJsonObject> states;
        for (const QByteArray &line : m_app.readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                states.append(QJsonDocument::fromJson(line).object());
        return {m_app.exitCode(), states};
    }

    static QStringList names(const QList<QJsonObject> &states)
    {
        QStringList out;
        for (const QJsonObject &state : states)
            out.append(state.value("state").toString());
        return out;
    }

    QTemporaryDir m_config;
    QProcess m_app;
};

} // namespace

TEST_F(CaptureCommand, DragRunsToTheUploadAndShowsItsStatesBesideTheSelection)
{
    ASSERT_TRUE(start());
    drag(QPoint(300, 200), QPoint(500, 350));
    const auto [code, states] = finish();
    EXPECT_EQ(code, 1) << "the refused upload ends the run with an error";
    ASSERT_EQ(names(states), (QStringList{"hidden", "loading", "error"}));
    EXPECT_EQ(states[1].value("near").toVariant().toList(), (QVariantList{300, 200, 200, 150}));
}

TEST_F(CaptureCommand, EscapeEndsTheRunAsCancelled)
{
    ASSERT_TRUE(start());
    // The keyboard grab follows the window's mapping by a moment; a key
    // pressed before it would go elsewhere, so press until the app reacts.
    for (int i = 0; i < 20 && m_app.state() != QProcess::NotRunning; ++i) {
        pressEscape();
        m_app.waitForFinished(250);
    }
    const auto [code, states] = finish();
    EXPECT_EQ(code, 3);
    EXPECT_EQ(names(states), QStringList{"hidden"});
}
