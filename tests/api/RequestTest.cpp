#include "api/Request.h"
#include "core/Services.h"
#include "platform/IniSettingsStore.h"
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

QString endpointFor(ScopedSettings &s, const QString &base, const char *path = api::kPlainPath)
{
    s.store.setValue(QStringLiteral("api_base"), base);
    return api::endpoint(QString::fromLatin1(path)).toString();
}

} // namespace

TEST(Request, BaseFallsBackUnlessApiBaseIsAUsableUrl)
{
    ScopedSettings s;
    const QString fallback = api::defaultBase().toString() + QStringLiteral("/v1/analyze-screenshot");
    EXPECT_EQ(api::endpoint(QString::fromLatin1(api::kPlainPath)).toString(), fallback);
    EXPECT_EQ(endpointFor(s, QString()), fallback) << "empty is as if unset";
    EXPECT_EQ(endpointFor(s, QStringLiteral("not a url")), fallback);
    EXPECT_EQ(endpointFor(s, QStringLiteral("http://")), fallback);
    EXPECT_EQ(endpointFor(s, QStringLiteral("ftp://files.example")), fallback);
    EXPECT_EQ(endpointFor(s, QStringLiteral("https://api.example.com")),
              QStringLiteral("https://api.example.com/v1/analyze-screenshot"));
    EXPECT_EQ(endpointFor(s, QStringLiteral("http://10.1.2.3:8080")),
              QStringLiteral("http://10.1.2.3:8080/v1/analyze-screenshot"))
        << "the scheme the user chose is kept";
}

TEST(Request, EndpointJoinsWithExactlyOneSlash)
{
    ScopedSettings s;
    EXPECT_EQ(endpointFor(s, QStringLiteral("https://h.example/api")),
              QStringLiteral("https://h.example/api/v1/analyze-screenshot"));
    EXPECT_EQ(endpointFor(s, QStringLiteral("https://h.example/api/")),
              QStringLiteral("https://h.example/api/v1/analyze-screenshot"));
    EXPECT_EQ(endpointFor(s, QStringLiteral("https://h.example/"), api::kStreamPath),
              QStringLiteral("https://h.example/v1/analyze-screenshot-stream"));
    EXPECT_EQ(endpointFor(s, QStringLiteral("https://h.example/api"), api::kHealthPath),
              QStringLiteral("https://h.example/api/v1/health"));
}

TEST(Request, DeviceIdIsCreatedOnceAndSurvivesARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tavolen/tavolen.conf"));
    QString first;
    {
        platform::IniSettingsStore store(path);
        installSettings(&store);
        first = api::deviceId();
        EXPECT_TRUE(kCanonicalUuid.match(first).hasMatch()) << first.toStdString();
        EXPECT_EQ(api::deviceId(), first);
    }
    {
        // A new store on the same file, as after a restart.
        platform::IniSettingsStore store(path);
        installSettings(&store);
        EXPECT_EQ(api::deviceId(), first);
    }
    installSettings(nullptr);
}

TEST(Request, StoredDeviceIdIsReturnedUnchangedEvenWhenEmpty)
{
    ScopedSettings s;
    s.store.setValue(QStringLiteral("device_id"), QString());
    EXPECT_EQ(api::deviceId(), QString());
    EXPECT_EQ(s.store.value(QStringLiteral("device_id")), QVariant(QString()));
}

TEST(Request, MultipartBodyIsExactlyTheTwoParts)
{
    ScopedSettings s;
    const QByteArray image("\xff\xd8\xff\xe0JPEGDATA\r\n--not-a-boundary\xff\xd9", 30);
    const api::UploadRequest r =
        api::multipartRequest(QString::fromLatin1(api::kPlainPath), image, QStringLiteral("zh-Hans"), 25s);
    const QByteArray b = r.boundary;
    ASSERT_EQ(b.size(), 45);
    ASSERT_TRUE(b.startsWith("Boundary-"));
    ASSERT_TRUE(kCanonicalUuid.match(QString::fromLatin1(b.mid(9))).hasMatch());

    const QByteArray expected =
        "--" + b + "\r\n" + "Content-Disposition: form-data; name=\"meta\"\r\n\r\n" +
        R"({"regenerate":false,"ui_language":"zh-Hans","user_style":"natural"})" + "\r\n--" + b + "\r\n" +
        "Content-Disposition: form-data; name=\"image\"; filename=\"screenshot.jpg\"\r\n" +
        "Content-Type: image/jpeg\r\n\r\n" + image + "\r\n--" + b + "--\r\n";
    EXPECT_EQ(r.body, expected);
}

TEST(Request, EmptyImageStillGivesACompleteBody)
{
    ScopedSettings s;
    const api::UploadRequest r =
        api::multipartRequest(QStringLiteral("v1/x"), QByteArray(), QStringLiteral("en"), 1s);
    EXPECT_TRUE(r.body.endsWith("Content-Type: image/jpeg\r\n\r\n\r\n--" + r.boundary + "--\r\n"));
    EXPECT_TRUE(r.body.startsWith("--" + r.boundary + "\r\n"));
}

TEST(Request, HeadersCarryTokenDeviceLanguageAndFreshIds)
{
    ScopedSettings s;
    s.store.setValue(QStringLiteral("api_base"), QStringLiteral("https://svc.example/base/"));
    const auto a =
        api::multipartRequest(QString::fromLatin1(api::kStreamPath), "x", QStringLiteral("zh-Hans"), 45s);
    const auto b =
        api::multipartRequest(QString::fromLatin1(api::kStreamPath), "x", QStringLiteral("zh-Hans"), 45s);

    EXPECT_EQ(a.request.url().toString(),
              QStringLiteral("https://svc.example/base/v1/analyze-screenshot-stream"));
    EXPECT_EQ(a.request.transferTimeout(), 45000);
    EXPECT_EQ(a.request.rawHeader("Accept-Language"), "zh-Hans");
    EXPECT_EQ(a.request.rawHeader("Authorization"),
              "Bearer tavolen_ac7e888992e16208c7c2ab2254a678024402284466e9fa66");
    EXPECT_EQ(a.request.rawHeader("Content-Type"), "multipart/form-data; boundary=" + a.boundary);
    EXPECT_EQ(a.request.rawHeaderList(), (QList<QByteArray>{"X-Request-Id", "Accept-Language",
                                                            "Authorization", "X-Device-Id", "Content-Type"}));
    EXPECT_TRUE(kCanonicalUuid.match(QString::fromLatin1(a.request.rawHeader("X-Request-Id"))).hasMatch());

    EXPECT_NE(a.request.rawHeader("X-Request-Id"), b.request.rawHeader("X-Request-Id"));
    EXPECT_NE(a.boundary, b.boundary);
    EXPECT_NE(a.request.rawHeader("X-Request-Id"), a.boundary.mid(9)) << "boundary uses its own UUID";
    EXPECT_EQ(a.request.rawHeader("X-Device-Id"), b.request.rawHeader("X-Device-Id"));
    EXPECT_EQ(a.request.rawHeader("X-Device-Id"), api::deviceId().toUtf8());
}
