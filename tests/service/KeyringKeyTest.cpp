// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReloadingService.h"
#include "ServiceWithModel.h"

#include "protocol/LocalControl.h"
#include "service/KeyringKey.h"
#include "service/OfflineEngine.h"
#include "support/LocalService.h"
#include "support/ServiceAnswers.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <qt6keychain/keychain.h>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::test;

// KeyringKey: the API key read from a real Secret Service (gnome-keyring) on
// a session bus of the test's own, never the desktop's.

namespace {

class KeyringKey : public ::testing::Test {
protected:
    // One bus and one keyring for the suite: the keyring library keeps its
    // first connection to the session bus for the life of the process.
    static void SetUpTestSuite()
    {
        s_home = std::make_unique<QTemporaryDir>();
        const QDir home(s_home->path());
        home.mkdir(QStringLiteral("run"));
        ::chmod(QFile::encodeName(home.filePath(QStringLiteral("run"))).constData(), 0700);
        // No service directories: nothing is started on the bus behind the
        // test's back, least of all a keyring of the real home.
        const QString config = writeFile(
            home.filePath(QStringLiteral("bus.conf")),
            "<busconfig><type>session</type><listen>unix:dir=" + QFile::encodeName(home.path()) +
                "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" "
                "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        // Never destroyed: GLib ends the whole process with SIGTERM when its
        // session bus goes away, so the bus lasts as long as this process,
        // and the kernel ends it with the process (tieToThisProcess).
        s_bus = new QProcess;
        tieToThisProcess(*s_bus);
        s_bus->start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--config-file=") + config, QStringLiteral("--print-address"),
                      QStringLiteral("--nofork")});
        if (!QTest::qWaitFor([] { return s_bus->canReadLine(); }, 10000))
            return;
        s_address = QString::fromUtf8(s_bus->readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", s_address.toUtf8());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), s_address);
        s_keyring = std::make_unique<QProcess>();
        s_keyring->setProcessEnvironment(env);
        s_keyring->setStandardOutputFile(QProcess::nullDevice());
        s_keyring->setStandardErrorFile(QProcess::nullDevice());
        tieToThisProcess(*s_keyring);
        // Unlocked with a password of the test's: a fresh login keyring.
        s_keyring->start(QStringLiteral("gnome-keyring-daemon"),
                         {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                          QStringLiteral("--components=secrets")});
        s_keyring->write("testpass");
        s_keyring->closeWriteChannel();
        QDBusConnection watch = QDBusConnection::connectToBus(s_address, QStringLiteral("keyring-watch"));
        s_ready = QTest::qWaitFor(
            [&] { return watch.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets")); },
            15000);
        QDBusConnection::disconnectFromBus(QStringLiteral("keyring-watch"));
    }
    static void TearDownTestSuite()
    {
        if (s_keyring) {
            s_keyring->kill();
            s_keyring->waitForFinished(5000);
            s_keyring.reset();
        }
    }

    // What the keyring job said, once it is done; empty on success.
    static QString finish(QKeychain::Job *job)
    {
        std::optional<QString> outcome;
        QObject::connect(job, &QKeychain::Job::finished, [&](QKeychain::Job *j) {
            outcome = j->error() == QKeychain::NoError ? QString() : j->errorString();
        });
        job->start();
        if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 20000))
            return QStringLiteral("no answer from the keyring");
        return *outcome;
    }
    static QString store(const QString &key)
    {
        auto *job = new QKeychain::WritePasswordJob(QLatin1String(protocol::kKeyringService));
        job->setKey(QLatin1String(protocol::kKeyringKey));
        job->setTextData(key);
        return finish(job);
    }
    static QString forget()
    {
        auto *job = new QKeychain::DeletePasswordJob(QLatin1String(protocol::kKeyringService));
        job->setKey(QLatin1String(protocol::kKeyringKey));
        return finish(job);
    }

    static inline std::unique_ptr<QTemporaryDir> s_home;
    static inline QProcess *s_bus = nullptr;
    static inline std::unique_ptr<QProcess> s_keyring;
    static inline QString s_address;
    static inline bool s_ready = false;
};

} // namespace

TEST_F(KeyringKey, IsReadFromTheSecretServiceAtReloadAndSentToTheModelAlone)
{
    ASSERT_FALSE(s_address.isEmpty()) << "dbus-daemon gave no address";
    ASSERT_TRUE(s_ready) << "gnome-keyring-daemon did not take the Secret Service's name";
    const QString key = QStringLiteral("sk-from-the-keyring-31337");
    ASSERT_EQ(store(key), QString());

    FakeModelServer model;
    model.answer(modelWrites(resultJson().toStdString()));
    service::OfflineEngine offline;
    ReloadingService s(offline);
    s.write(QStringLiteral("model.toml"), modelToml(model.baseUrl(), "keyring"));
    const RawAnswer reloaded = s.reload();
    ASSERT_EQ(reloaded.status, 200) << reloaded.body.toStdString();
    EXPECT_EQ(s.analyze().value("model"), "llm:qwen2.5:7b");
    ASSERT_EQ(authorizations(model).size(), 1u);
    EXPECT_EQ(authorizations(model).front(), "Bearer " + key.toStdString());

    // Gone from the keyring: the reload fails and the engine with the key
    // read before serves on.
    ASSERT_EQ(forget(), QString());
    const RawAnswer failed = s.reload();
    EXPECT_EQ(failed.status, 409);
    const QJsonObject body = QJsonDocument::fromJson(failed.body).object();
    EXPECT_TRUE(
        body.value("error").toObject().value("message").toString().contains(QStringLiteral("keyring")))
        << failed.body.toStdString();
    EXPECT_EQ(body.value("engine"), "llm:qwen2.5:7b");
    EXPECT_EQ(s.health().value("engine"), "llm:qwen2.5:7b");
    for (const QString &line : s.running->log() + s.notes())
        EXPECT_FALSE(line.contains(key)) << "nothing of the key reaches the log";
}

// As people do it: the key typed into `tavolen model use --key-stdin` goes to
// the keyring, the running service takes it from there, and no file under
// the configuration holds it.
TEST_F(KeyringKey, TavolenModelUseKeepsTheKeyInTheKeyringAndTheServiceReadsItThere)
{
    ASSERT_TRUE(s_ready) << "gnome-keyring-daemon did not take the Secret Service's name";
    const QByteArray key = "sk-typed-on-stdin-4242";
    FakeModelServer model;
    model.answer(modelWrites(resultJson().toStdString()));
    LocalService local;
    local.env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    local.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(local.secretPath()); }, 30000));

    const auto [used, said] = local.tavolen({QStringLiteral("model"), QStringLiteral("use"), model.baseUrl(),
                                             QStringLiteral("hosted-model"), QStringLiteral("--key-stdin")},
                                            key + "\n");
    ASSERT_EQ(used, 0) << said.constData();
    EXPECT_TRUE(said.contains("keyring")) << said.constData();

    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QString image = local.home.filePath(QStringLiteral("post.png"));
    ASSERT_TRUE(picture.save(image));
    const auto [analysed, reading] = local.tavolen({QStringLiteral("analyze"), image});
    EXPECT_EQ(analysed, 0) << reading.constData();
    const std::vector<std::string> sent = authorizations(model);
    ASSERT_GE(sent.size(), 2u) << "the check, then the reading";
    EXPECT_EQ(sent.back(), "Bearer " + key.toStdString()) << "the service read the key from the keyring";

    QDirIterator files(local.home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains(key)) << file.fileName().toStdString();
    }
    ASSERT_EQ(forget(), QString());
}
