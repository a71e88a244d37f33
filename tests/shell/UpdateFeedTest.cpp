// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/UpdateFeed.h"
#include "support/ScopedSettings.h"

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::app;

namespace {

QByteArray appcast(const QByteArray &items)
{
    return R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
<channel><title>Tavolen</title>)" +
           items + "</channel></rss>";
}

} // namespace

TEST(UpdateFeed, ComparesVersionsNumberByNumber)
{
    EXPECT_GT(compareVersions("1.10", "1.9"), 0) << "not as text";
    EXPECT_LT(compareVersions("0.5.0", "0.5.1"), 0);
    EXPECT_EQ(compareVersions("1.0", "1"), 0) << "a missing part is zero";
    EXPECT_GT(compareVersions("2", "1.99.99"), 0);
    EXPECT_EQ(compareVersions(" 0.6.0 ", "0.6"), 0);
    EXPECT_GT(compareVersions("0.6.1-beta", "0.6.0"), 0) << "a part counts by its leading digits";
}

TEST(UpdateFeed, PicksTheHighestVersionWhateverTheOrderOrFormOfItsItems)
{
    test::ScopedSettings settings;
    const Result<FeedRelease, QString> newest = newestRelease(appcast(R"(
<item><title>Tavolen 1.9</title>
  <enclosure url="https://dl.example.com/tavolen_1.9.deb" sparkle:version="1.9" length="1" type="application/octet-stream"/></item>
<item><title>Tavolen 1.10</title><link>https://example.com/releases/1.10</link>
  <sparkle:version>1.10</sparkle:version><sparkle:shortVersionString>1.10 "Lark"</sparkle:shortVersionString>
  <description><![CDATA[<p>Faster <b>replies</b></p>]]></description>
  <enclosure url="https://dl.example.com/tavolen_1.10.deb" length="1"/></item>
<item><title>Tavolen 1.2</title>
  <enclosure url="https://dl.example.com/tavolen_1.2.deb" sparkle:version="1.2" sparkle:shortVersionString="1.2"/></item>
)"));
    ASSERT_TRUE(newest.ok()) << newest.error().toStdString();
    EXPECT_EQ(newest.value().version, "1.10");
    EXPECT_EQ(newest.value().displayVersion, "1.10 \"Lark\"");
    EXPECT_EQ(newest.value().url, QUrl("https://example.com/releases/1.10")) << "the page before the file";

    const Result<FeedRelease, QString> onlyFile = newestRelease(appcast(R"(
<item><enclosure url="https://dl.example.com/tavolen_0.7.deb" sparkle:version="0.7"/></item>)"));
    ASSERT_TRUE(onlyFile.ok());
    EXPECT_EQ(onlyFile.value().displayVersion, "0.7");
    EXPECT_EQ(onlyFile.value().url, QUrl("https://dl.example.com/tavolen_0.7.deb"));

    // A patch release beside its minor one wins, whichever comes first.
    for (const QByteArray &items :
         {QByteArray(R"(<item><enclosure url="https://x.example/a" sparkle:version="1.0"/></item>
<item><enclosure url="https://x.example/b" sparkle:version="1.0.1"/></item>)"),
          QByteArray(R"(<item><enclosure url="https://x.example/b" sparkle:version="1.0.1"/></item>
<item><enclosure url="https://x.example/a" sparkle:version="1.0"/></item>)")}) {
        const Result<FeedRelease, QString> patch = newestRelease(appcast(items));
        ASSERT_TRUE(patch.ok());
        EXPECT_EQ(patch.value().version, "1.0.1");
    }
}

TEST(UpdateFeed, SkipsItemsWithoutAVersionAndAddressesThatAreNotWebPages)
{
    test::ScopedSettings settings;
    const Result<FeedRelease, QString> newest = newestRelease(appcast(R"(
<item><title>Tavolen 9.0</title><link>https://example.com/9</link></item>
<item><title>Nightly</title><sparkle:version>nightly</sparkle:version></item>
<item><link>file:///etc/passwd</link>
  <enclosure url="javascript:void" sparkle:version="0.8" sparkle:shortVersionString="0.8"/></item>)"));
    ASSERT_TRUE(newest.ok()) << newest.error().toStdString();
    EXPECT_EQ(newest.value().version, "0.8");
    EXPECT_TRUE(newest.value().url.isEmpty()) << newest.value().url.toString().toStdString();

    const Result<FeedRelease, QString> none = newestRelease(appcast("<item><title>Tavolen</title></item>"));
    ASSERT_FALSE(none.ok());
    EXPECT_EQ(none.error(), "the update feed lists no version.");
}

TEST(UpdateFeed, RejectsWhatIsNotWellFormedXml)
{
    test::ScopedSettings settings;
    for (const QByteArray &feed :
         {QByteArray(appcast(R"(<item><enclosure sparkle:version="0.9"></item>)")),
          QByteArray("<html><body>Not found"), QByteArray("{\"version\": \"9.9\"}"), QByteArray()}) {
        const Result<FeedRelease, QString> r = newestRelease(feed);
        ASSERT_FALSE(r.ok()) << feed.toStdString();
        EXPECT_TRUE(r.error().startsWith("the update feed is not valid XML") ||
                    r.error() == "the update feed lists no version.")
            << r.error().toStdString();
    }
    const Result<FeedRelease, QString> truncated =
        newestRelease(appcast(R"(<item><sparkle:version>0.9</sparkle:version></item>)").chopped(10));
    ASSERT_FALSE(truncated.ok()) << "an item before the cut does not make a feed";
    EXPECT_TRUE(truncated.error().startsWith("the update feed is not valid XML"))
        << truncated.error().toStdString();
}
