// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/ServiceUrl.h"
#include "api/UploadRequest.h"
#include "core/Settings.h"
#include "platform/IniSettingsStore.h"
#include "protocol/Endpoints.h"
#include "support/ScopedSettings.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace std::chrono_literals;
using tavolen::test::ScopedSettings;

namespace {

const QRegularExpression
    kCanonicalUuid(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));

bool isUuid(const QByteArray &text)
{
    return kCanonicalUuid.match(QString::fromLatin1(text)).hasMatch();
}

} // namespace

TEST(Request, BaseFallsBackUnlessApiBaseIsAUsableUrlAndJoinsWithOneSlash)
{
    ScopedSettings s;
    const QString fallback = api::defaultBase().toString() + "/v1/analyze-screenshot";
    const struct {
        std::optional<QString> base;
        const char *path;
        QString url;
    } cases[] = {
        {std::nullopt, protocol::kPlainPath, fallback},
        {"", protocol::kPlainPath, fallback},
        {"not a url", protocol::kPlainPath, fallback},
        {"http://", protocol::kPlainPath, fallback},
        {"ftp://files.example", protocol::kPlainPath, fallback},
        {"https://api.example.com", protocol::kPlainPath, "https://api.example.com/v1/analyze-screenshot"},
        {"http://10.1.2.3:8080", protocol::kPlainPath, "http://10.1.2.3:8080/v1/analyze-screenshot"},
        {"https://h.example/api/", protocol::kPlainPath, "https://h.example/api/v1/analyze-screenshot"},
        {"https://h.example/", protocol::kStreamPath, "https://h.example/v1/analyze-screenshot-stream"},
        {"https://h.example/api", protocol::kHealthPath, "https://h.example/api/v1/health"},
    };
    for (const auto &c : cases) {
        if (c.base)
            s.store.setValue(QStringLiteral("api_base"), *c.base);
        EXPECT_EQ(api::endpoint(s.store, QString::fromLatin1(c.path)).toString(), c.url)
            << c.base.value_or("unset").toStdString();
    }
}

TEST(Request, DeviceIdIsCreatedOnceAndSurvivesARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tavolen/tavolen.conf"));
    QString first;
    {
        platform::IniSettingsStore store(path);
        first = api::deviceId(store);
        EXPECT_TRUE(isUuid(first.toLatin1())) << first.toStdString();
        EXPECT_EQ(api::deviceId(store), first);
    }
    {
        platform::IniSettingsStore store(path); // as after a restart
        EXPECT_EQ(api::deviceId(store), first);
    }

    ScopedSettings s;
    s.store.setValue(QStringLiteral("device_id"), QString());
    EXPECT_EQ(api::deviceId(s.store), QString()) << "a stored id is used as it is, even empty";
}

TEST(Request, MultipartBodyIsExactlyTheTwoPartsEvenForAnEmptyImage)
{
    ScopedSettings s;
    for (const QByteArray &image :
         {QByteArray("\xff\xd8\xff\xe0JPEGDATA\r\n--not-a-boundary\xff\xd9", 30), QByteArray()}) {
        const api::UploadRequest r = api::multipartRequest(s.store, QString::fromLatin1(protocol::kPlainPath),
                                                           image, QStringLiteral("zh-Hans"), 25s);
        const QByteArray b = r.boundary;
        ASSERT_EQ(b.size(), 45);
        ASSERT_TRUE(b.startsWith("Boundary-") && isUuid(b.mid(9)));
        const QByteArray expected =
            "--" + b + "\r\n" + "Content-Disposition: form-data; name=\"meta\"\r\n\r\n" +
            R"({"regenerate":false,"ui_language":"zh-Hans","user_style":"natural"})" + "\r\n--" + b + "\r\n" +
            "Content-Disposition: form-data; name=\"image\"; filename=\"screenshot.jpg\"\r\n" +
            "Content-Type: image/jpeg\r\n\r\n" + image + "\r\n--" + b + "--\r\n";
        EXPECT_EQ(r.body, expected);
    }
}

TEST(Request, HeadersCarryTokenDeviceLanguageAndFreshIds)
{
    ScopedSettings s;
    s.store.setValue(QStringLiteral("api_base"), QStringLiteral("https://svc.example/base/"));
    const auto a = api::multipartRequest(s.store, QString::fromLatin1(protocol::kStreamPath), "x",
                                         QStringLiteral("zh-Hans"), 45s);
    const auto b = api::multipartRequest(s.store, QString::fromLatin1(protocol::kStreamPath), "x",
                                         QStringLiteral("zh-Hans"), 45s);

    EXPECT_EQ(a.request.url().toString(),
              QStringLiteral("https://svc.example/base/v1/analyze-screenshot-stream"));
    EXPECT_EQ(a.request.transferTimeout(), 45000);
    EXPECT_EQ(a.request.attribute(QNetworkRequest::RedirectPolicyAttribute),
              QNetworkRequest::ManualRedirectPolicy);
    EXPECT_EQ(a.request.attribute(QNetworkRequest::Http2AllowedAttribute), false);
    EXPECT_EQ(a.request.rawHeaderList(),
              (QList<QByteArray>{"X-Request-Id", "Accept-Language", "Authorization", "X-Device-Id",
                                 "Content-Type", "Content-Length"}));
    EXPECT_EQ(a.request.rawHeader("Accept-Language"), "zh-Hans");
    EXPECT_EQ(a.request.rawHeader("Authorization"),
              "Bearer tavolen_ac7e888992e16208c7c2ab2254a678024402284466e9fa66");
    EXPECT_EQ(a.request.rawHeader("Content-Type"), "multipart/form-data; boundary=" + a.boundary);
    EXPECT_EQ(a.request.rawHeader("X-Device-Id"), api::deviceId(s.store).toUtf8());
    EXPECT_EQ(a.request.rawHeader("X-Device-Id"), b.request.rawHeader("X-Device-Id"));
    EXPECT_TRUE(isUuid(a.request.rawHeader("X-Request-Id")));
    EXPECT_NE(a.request.rawHeader("X-Request-Id"), b.request.rawHeader("X-Request-Id"));
    EXPECT_NE(a.boundary, b.boundary);
    EXPECT_NE(a.request.rawHeader("X-Request-Id"), a.boundary.mid(9)) << "the boundary has a UUID of its own";
}
