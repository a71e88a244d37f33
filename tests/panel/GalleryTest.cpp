// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/Gallery.h"
#include "support/ScopedSettings.h"
#include "ui/TextBlock.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavolen;

TEST(Gallery, WritesEveryEntryInBothLanguagesAndThemesWithAnIndex)
{
    test::ScopedSettings settings;
    QTemporaryDir dir;
    ASSERT_EQ(panel::writeGallery(dir.path()), QString());
    const QStringList pngs = QDir(dir.path()).entryList({QStringLiteral("*.png")});
    const std::vector<panel::GalleryEntry> entries = panel::galleryEntries();
    EXPECT_EQ(pngs.size(), qsizetype(entries.size() * 4));
    QFile index(QDir(dir.path()).filePath(QStringLiteral("index.html")));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(index.readAll());
    for (const QString &png : pngs)
        EXPECT_TRUE(html.contains(png)) << png.toStdString();
    // At scale 2: a full card is 800 device pixels wide plus its shadow margin.
    const QImage result(QDir(dir.path()).filePath(QStringLiteral("result-zh-dark.png")));
    EXPECT_EQ(result.width(), (400 + 2 * 24) * 2);
    EXPECT_EQ(settings.store.value(QStringLiteral("app_lang")), std::nullopt)
        << "the user's language is left alone";
}

TEST(Gallery, ChineseTextHasRealGlyphs)
{
    // Without a CJK font every character falls back to the same empty box.
    const auto render = [](const QString &text) {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(ui::makeFont({24}, &image));
        painter.drawText(image.rect(), Qt::AlignCenter, text);
        return image;
    };
    const QImage a = render(QStringLiteral("读"));
    EXPECT_NE(a, render(QStringLiteral("懂")));
    EXPECT_NE(a, render(QStringLiteral("语")));
}
