// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ShellGallery.h"
#include "panel/Gallery.h"

#include <gtest/gtest.h>

using namespace tavolen;

namespace {

// Sharp steps in brightness along the middle rows of a picture: the edges of
// glyphs. An empty capsule or window has only its own borders there.
int edgesAcrossTheMiddle(const QImage &image)
{
    int edges = 0;
    const int y = image.height() / 2;
    for (int row = y - 8; row <= y + 8; ++row)
        for (int x = 1; x < image.width(); ++x)
            edges += std::abs(qGray(image.pixel(x, row)) - qGray(image.pixel(x - 1, row))) > 40;
    return edges;
}

} // namespace

TEST(ShellGallery, EverySurfaceIsDrawnSettledWithItsContent)
{
    for (const panel::GalleryEntry &entry : app::shellGalleryEntries()) {
        const QImage light = panel::renderPanelView(entry.build(), panel::lightPalette(), 2);
        EXPECT_GT(edgesAcrossTheMiddle(light), 40) << entry.name.toStdString() << " is empty";
        EXPECT_LT(light.width(), 1200) << entry.name.toStdString() << " is drawn at its own size";
    }
}
