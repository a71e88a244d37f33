// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/UpdateCheck.h"
#include "app/UpdateDialog.h"
#include "core/RunToEnd.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedServer.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::app;
using namespace tavolen::test;
using namespace std::chrono_literals;

namespace {

constexpr QByteArrayView kFeedPath = "/appcast.xml";

QByteArray appcastWith(const QByteArray &version)
{
    return R"(<?xml version="1.0"?><rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle"><channel>
<item><title>Tavolen )" +
           version + R"(</title><link>https://example.com/tavolen/)" + version +
           R"(</link><enclosure url="https://example.com/tavolen_)" + version + R"(.deb" sparkle:version=")" +
           version + R"("/></item>
<item><title>Tavolen 0.1.0</title><enclosure url="https://example.com/tavolen_0.1.0.deb" sparkle:version="0.1.0"/></item>
</channel></rss>)";
}

// Update checks against the scripted server, in English unless a test says otherwise.
class UpdateCheck : public ::testing::Test {
protected:
    QString feedUrl() const { return server.baseUrl() + QString::fromLatin1(kFeedPath); }
    UpdateResult check(const QString &current, FeedLimits limits = {})
    {
        clock.start();
        return runToEnd(checkForUpdates(network, feedUrl(), current, limits));
    }

    ScopedSettings settings;
    ScriptedServer server;
    QNetworkAccessManager network;
    QElapsedTimer clock;
};

std::string failure(const UpdateResult &r)
{
    const auto *f = std::get_if<Failed>(&r);
    return f ? f->reason.toStdString() : "(not a failure) " + updateResultText(r).toStdString();
}

} // namespace

TEST_F(UpdateCheck, SaysUpToDateWhenTheFeedHasNothingNewerAndOtherwiseNamesTheNewerReleaseAndItsPage)
{
    for (const char *current : {"0.5.0", "0.10.0"}) {
        server.script(kFeedPath.toByteArray(),
                      ScriptedResponse::body(200, appcastWith("0.5.0"), "application/rss+xml"));
        const UpdateResult r = check(QString::fromLatin1(current));
        ASSERT_TRUE(std::holds_alternative<UpToDate>(r))
            << current << ": " << updateResultText(r).toStdString();
        EXPECT_EQ(std::get<UpToDate>(r).version, current);
    }
    EXPECT_EQ(server.requests().first().method, "GET");

    server.script(kFeedPath.toByteArray(),
                  ScriptedResponse::body(200, appcastWith("0.10.0"), "application/xml"));
    const UpdateResult r = check(QStringLiteral("0.9.3"));
    ASSERT_TRUE(std::holds_alternative<UpdateAvailable>(r)) << updateResultText(r).toStdString();
    EXPECT_EQ(std::get<UpdateAvailable>(r).version, "0.10.0");
    EXPECT_EQ(std::get<UpdateAvailable>(r).url, QUrl("https://example.com/tavolen/0.10.0"));
    EXPECT_EQ(updateResultText(r), "Tavolen 0.10.0 is available.");
    EXPECT_EQ(server.requests(kFeedPath.toByteArray()).size(), 3);
}

TEST_F(UpdateCheck, FailsOnAnErrorStatusOrAFeedThatIsNotOne)
{
    server.script(kFeedPath.toByteArray(),
                  ScriptedResponse::body(404, "<html>Not Found</html>", "text/html"));
    UpdateResult r = check(QStringLiteral("0.5.0"));
    EXPECT_EQ(failure(r), "the update feed answered with HTTP 404.");
    EXPECT_EQ(updateResultText(r), "Could not check for updates: the update feed answered with HTTP 404.");

    server.script(kFeedPath.toByteArray(), ScriptedResponse::body(200, "<rss><channel><item>", "text/xml"));
    r = check(QStringLiteral("0.5.0"));
    EXPECT_TRUE(failure(r).starts_with("the update feed is not valid XML")) << failure(r);

    server.script(
        kFeedPath.toByteArray(),
        ScriptedResponse::body(200, appcastWith("0.9.0")).endWith(ScriptedResponse::Ending::Reset, 0));
    r = check(QStringLiteral("0.5.0"));
    EXPECT_TRUE(std::holds_alternative<Failed>(r)) << "a reset before the body is no answer";
}

TEST_F(UpdateCheck, CutsOffAFeedThatNeverEndsOrOnlyTrickles)
{
    server.script(kFeedPath.toByteArray(), ScriptedResponse::endless(QByteArray(64 * 1024, ' ')));
    UpdateResult r = check(QStringLiteral("0.5.0"), {.maxBytes = 256 * 1024});
    EXPECT_EQ(failure(r), "the update feed is larger than 262144 bytes.");
    EXPECT_LT(clock.elapsed(), 5000);

    server.script(kFeedPath.toByteArray(), ScriptedResponse::endless("<!-- -->", 50ms));
    r = check(QStringLiteral("0.5.0"), {.idle = 10s, .total = 600ms});
    EXPECT_EQ(failure(r), "the update feed did not answer in time.");
    EXPECT_GE(clock.elapsed(), 550);
    EXPECT_LT(clock.elapsed(), 5000) << "the total bound holds while bytes keep coming";

    server.script(kFeedPath.toByteArray(), ScriptedResponse::silence());
    r = check(QStringLiteral("0.5.0"), {.idle = 300ms});
    EXPECT_EQ(failure(r), "the update feed did not answer in time.");
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(UpdateCheck, WithoutAFeedSaysSoAndAsksNobody)
{
    const UpdateResult r = runToEnd(checkForUpdates(network, QString(), QStringLiteral("0.5.0")));
    EXPECT_TRUE(std::holds_alternative<NoSource>(r));
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_TRUE(failure(runToEnd(checkForUpdates(network, QStringLiteral("file:///tmp/feed.xml"), "0.5.0")))
                    .starts_with("the update feed's address"));
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(UpdateCheck, SpeaksBothLanguages)
{
    const UpdateResult results[] = {UpToDate{"0.5.0"}, UpdateAvailable{"0.6.0", {}}, NoSource{}, Failed{"x"}};
    const QStringList en = {"Tavolen 0.5.0 is up to date.", "Tavolen 0.6.0 is available.",
                            "Updates to Tavolen come with your system's package manager.",
                            "Could not check for updates: x"};
    const QStringList zh = {"Tavolen 0.5.0 已是最新版本。", "Tavolen 0.6.0 已发布。",
                            "Tavolen 的更新随系统的软件包管理器提供。", "无法检查更新：x"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(updateResultText(results[i]), en[i]);
    EXPECT_EQ(checkForUpdatesTitle(), QString::fromUtf8("Check for Updates\u2026"));
    settings.setLanguages({"zh-Hans-CN"});
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(updateResultText(results[i]), zh[i]);
    EXPECT_EQ(checkForUpdatesTitle(), QString::fromUtf8("检查更新\u2026"));
}

TEST_F(UpdateCheck, TheWindowOffersTheDownloadPageOnlyForANewerRelease)
{
    QList<QUrl> opened;
    const auto record = [&opened](const QUrl &url) { opened.append(url); };

    QPointer<QMessageBox> box =
        showUpdateResult(UpdateAvailable{"0.6.0", QUrl("https://example.com/0.6.0")}, record);
    EXPECT_EQ(box->text(), "Tavolen 0.6.0 is available.");
    QPushButton *download = nullptr;
    for (QAbstractButton *b : box->buttons())
        if (box->buttonRole(b) == QMessageBox::AcceptRole)
            download = qobject_cast<QPushButton *>(b);
    ASSERT_NE(download, nullptr);
    download->click();
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://example.com/0.6.0")});
    delete box.data();

    for (const UpdateResult &r : {UpdateResult(UpdateAvailable{"0.6.0", {}}), UpdateResult(Failed{"x"})}) {
        box = showUpdateResult(r, record);
        ASSERT_EQ(box->buttons().size(), 1) << updateResultText(r).toStdString();
        box->buttons().first()->click();
        delete box.data();
    }
    EXPECT_EQ(opened.size(), 1);
}
