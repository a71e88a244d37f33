// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/CopyToClipboard.h"
#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

using namespace tavolen;

TEST(Clipboard, CopyReplacesEverythingWithTheTextAndTheMarkersThatKeepItOutOfHistories)
{
    auto *old = new QMimeData;
    old->setHtml(QStringLiteral("<b>old</b>"));
    old->setData(QStringLiteral("application/x-old"), "x");
    QGuiApplication::clipboard()->setMimeData(old);

    platform::QtClipboard clipboard;
    capture::copyToClipboard(clipboard, QStringLiteral("好的，明天见 👋"));

    const QMimeData *now = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(now);
    EXPECT_EQ(now->text(), QStringLiteral("好的，明天见 👋"));
    EXPECT_TRUE(now->hasFormat(QStringLiteral("org.nspasteboard.TransientType")));
    EXPECT_TRUE(now->data(QStringLiteral("org.nspasteboard.TransientType")).isEmpty());
    EXPECT_EQ(now->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    EXPECT_FALSE(now->hasHtml());
    EXPECT_FALSE(now->hasFormat(QStringLiteral("application/x-old")));
}
