// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/WlCopyClipboard.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using tavolen::platform::WlCopyClipboard;

TEST(WlCopyClipboard, TheTextGoesToWlCopyOnItsInputAndNeverOnItsCommandLine)
{
    // A wl-copy that records what it was given.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("wl-copy"));
    const QString seen = dir.filePath(QStringLiteral("seen"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\n{ echo \"$*\"; cat; } > '%1.part' && mv '%1.part' '%1'\n")
                     .arg(seen)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    WlCopyClipboard clipboard(program);
    ASSERT_TRUE(clipboard.usesWlCopy());
    const QString reply = QStringLiteral("Sounds good — 周五见 'tonight' $HOME");
    clipboard.replaceWithText(reply, {{QStringLiteral("org.nspasteboard.TransientType"), {}}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(seen); }, 5000));
    QFile out(seen);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(out.readAll()), "--type text/plain;charset=utf-8\n" + reply);
}

TEST(WlCopyClipboard, WithoutWlCopyTheClipboardIsSetInProcess)
{
    WlCopyClipboard clipboard(
        QStringLiteral("/nonexistent/wl-copy-%1").arg(QCoreApplication::applicationPid()));
    // The program named is not checked; a missing one only fails to start,
    // and that must not crash or leak the process object.
    clipboard.replaceWithText(QStringLiteral("x"), {{QStringLiteral("t"), {}}});
    QTest::qWait(100);
    const QObjectList children = QCoreApplication::instance()->children();
    EXPECT_TRUE(std::none_of(children.begin(), children.end(),
                             [](QObject *o) { return qobject_cast<QProcess *>(o) != nullptr; }));
}
