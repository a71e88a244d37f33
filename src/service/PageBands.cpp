// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/PageBands.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstdlib>

namespace tavolen::service {

namespace {

// Anything darker than this is ink: light grey text (timestamps, counts)
// stays far below the white of the ground, and so is never cut through.
constexpr l_uint32 kInkBelow = 224;
// Bands shorter than this cost more in set-up than their reading saves.
constexpr int kMinBandRows = 48;

struct Gap {
    int begin;
    int end;
};

std::vector<Gap> blankRuns(Pix *grey)
{
    const int w = pixGetWidth(grey);
    const int h = pixGetHeight(grey);
    const l_uint32 *data = pixGetData(grey);
    const int wpl = pixGetWpl(grey);
    const auto blank = [&](int y) {
        const l_uint32 *line = data + y * wpl;
        for (int x = 0; x < w; ++x)
            if (GET_DATA_BYTE(line, x) < kInkBelow)
                return false;
        return true;
    };
    // A gap as tall as a quarter of a small line, so that the space between
    // a letter's dot and its stem never counts.
    const int minGap = std::max(4, h / 200);
    std::vector<Gap> gaps;
    int runStart = -1;
    for (int y = 0; y <= h; ++y) {
        if (y < h && blank(y)) {
            if (runStart < 0)
                runStart = y;
            continue;
        }
        if (runStart > 0 && y < h && y - runStart >= minGap)
            gaps.push_back({runStart, y});
        runStart = -1;
    }
    return gaps;
}

} // namespace

std::vector<int> bandCuts(Pix *grey, int parts)
{
    std::vector<int> cuts;
    if (parts < 2 || !grey || pixGetDepth(grey) != 8)
        return cuts;
    const int h = pixGetHeight(grey);
    const std::vector<Gap> gaps = blankRuns(grey);
    for (int i = 1; i < parts; ++i) {
        const int wanted = h * i / parts;
        int best = -1;
        for (const Gap &gap : gaps) {
            const int middle = (gap.begin + gap.end) / 2;
            const int previous = cuts.empty() ? 0 : cuts.back();
            if (middle - previous < kMinBandRows || h - middle < kMinBandRows)
                continue;
            if (best < 0 || std::abs(middle - wanted) < std::abs(best - wanted))
                best = middle;
        }
        if (best > 0 && (cuts.empty() || best > cuts.back()))
            cuts.push_back(best);
    }
    return cuts;
}

// A row of blank pixels between the first lines of a page and the rest, near
// a third of the way down, or 0 when there is none (or the page is short):
// the text above it is read first, so that a stream can show its opening
// before the whole page is read.
int firstLinesSplitRow(Pix *grey)
{
    const int w = pixGetWidth(grey);
    const int h = pixGetHeight(grey);
    if (h < 400 || pixGetDepth(grey) != 8)
        return 0;
    const l_uint32 *data = pixGetData(grey);
    const int wpl = pixGetWpl(grey);
    const auto blank = [&](int y) {
        const l_uint32 *line = data + y * wpl;
        for (int x = 0; x < w; x += 2)
            if (GET_DATA_BYTE(line, x) < 128)
                return false;
        return true;
    };
    const int minGap = std::max(4, h / 200);
    int best = 0;
    for (int y = h / 5, runStart = -1; y < h * 3 / 5; ++y) {
        if (blank(y)) {
            if (runStart < 0)
                runStart = y;
            continue;
        }
        if (runStart >= 0 && y - runStart >= minGap) {
            const int middle = (runStart + y) / 2;
            if (best == 0 || std::abs(middle - h / 3) < std::abs(best - h / 3))
                best = middle;
        }
        runStart = -1;
    }
    return best;
}

} // namespace tavolen::service
