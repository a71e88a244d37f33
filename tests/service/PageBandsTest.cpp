// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/PageBands.h"

#include <leptonica/allheaders.h>

#include <memory>

#include <gtest/gtest.h>

using tavolen::service::bandCuts;

namespace {

struct PixDeleter {
    void operator()(Pix *p) const { pixDestroy(&p); }
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

struct Ink {
    int top;
    int bottom;
    int grey;
};

// A white 8-bit page of `height` rows with a bar of ink at each `inks`.
PixPtr page(int height, const std::vector<Ink> &inks)
{
    PixPtr pix(pixCreate(600, height, 8));
    pixSetAllArbitrary(pix.get(), 255);
    for (const Ink &ink : inks)
        for (int y = ink.top; y < ink.bottom; ++y)
            for (int x = 20; x < 520; ++x)
                pixSetPixel(pix.get(), x, y, l_uint32(ink.grey));
    return pix;
}

bool insideInk(int row, const std::vector<Ink> &inks)
{
    for (const Ink &ink : inks)
        if (row >= ink.top && row < ink.bottom)
            return true;
    return false;
}

} // namespace

TEST(PageBandsTest, CutsOnlyThroughBlankRowsNearTheMiddle)
{
    const std::vector<Ink> inks{{20, 50, 20}, {80, 110, 20}, {140, 170, 20}, {200, 230, 20}};
    const PixPtr pix = page(260, inks);
    const std::vector<int> cuts = bandCuts(pix.get(), 2);
    ASSERT_EQ(cuts.size(), 1u);
    EXPECT_FALSE(insideInk(cuts[0], inks)) << cuts[0];
    EXPECT_EQ(cuts[0], 125) << "the gap nearest half the height, in its middle";
    EXPECT_TRUE(bandCuts(pix.get(), 1).empty()) << "one recogniser reads the page whole";
}

TEST(PageBandsTest, LightGreyTextIsInkAndNeverCutThrough)
{
    // A pale timestamp across the middle, where a cut would fall if only
    // dark pixels counted as ink.
    const std::vector<Ink> inks{{20, 60, 20}, {100, 160, 200}, {200, 240, 20}};
    const PixPtr pix = page(260, inks);
    for (const int cut : bandCuts(pix.get(), 2))
        EXPECT_FALSE(insideInk(cut, inks)) << cut;
}

TEST(PageBandsTest, APageWithoutGapsOrTooShortForTwoBandsIsNotCut)
{
    EXPECT_TRUE(bandCuts(page(260, {{0, 260, 20}}).get(), 2).empty());
    EXPECT_TRUE(bandCuts(page(60, {{10, 25, 20}, {35, 50, 20}}).get(), 2).empty());
    const PixPtr three = page(400, {{20, 60, 20}, {120, 160, 20}, {220, 260, 20}, {320, 360, 20}});
    const std::vector<int> cuts = bandCuts(three.get(), 3);
    ASSERT_EQ(cuts.size(), 2u);
    EXPECT_LT(cuts[0], cuts[1]);
}
