// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/DemoSample.h"
#include "app/DemoPost.h"
#include "support/ScopedSettings.h"

#include <QApplication>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

using namespace tavolen;

namespace {

QImage decode(const std::optional<QByteArray> &jpeg)
{
    return jpeg ? QImage::fromData(*jpeg, "JPEG") : QImage();
}

} // namespace

TEST(DemoSample, AJpegAtTwiceThePostsSizeWithTheAvatarInItsColour)
{
    test::ScopedSettings settings;
    const QImage image = decode(app::DemoSample().jpeg());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 840);
    EXPECT_EQ(image.height(), 2 * app::DemoPost().sizeHint().height());
    // Header (40) and a bubble of a few wrapped lines inside padding 20.
    EXPECT_GT(image.height(), 2 * 140);
    EXPECT_LT(image.height(), 2 * 260);

    // Left of the initial, inside the avatar at (20, 20, 40, 40).
    const QColor avatar = image.pixelColor(2 * 28, 2 * 40);
    EXPECT_NEAR(avatar.red(), 89, 8);
    EXPECT_NEAR(avatar.green(), 115, 8);
    EXPECT_NEAR(avatar.blue(), 217, 8);
    EXPECT_EQ(image.pixelColor(4, 4).lightness(), 255) << "white around the post";
}

TEST(DemoSample, TheSameImageInChineseAndOnADarkDesktop)
{
    test::ScopedSettings settings;
    const std::optional<QByteArray> plain = app::DemoSample().jpeg();

    settings.setAppLang(QStringLiteral("zh"));
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x24));
    dark.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(dark);
    const std::optional<QByteArray> darkZh = app::DemoSample().jpeg();
    QApplication::setPalette(before);

    ASSERT_TRUE(plain && darkZh);
    EXPECT_EQ(*plain, *darkZh);
}
