// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

struct Pix;

namespace tavolen::service {

// Rows at which a grey page (8 bits, dark text on light ground) can be cut
// into up to `parts` bands of about equal height, each cut in the middle of
// a run of blank rows, so that no line of text is cut: the bands can then be
// read at the same time by several recognisers and their text joined in
// order. Fewer cuts (none at all) when the page has fewer gaps. Ascending.
std::vector<int> bandCuts(Pix *grey, int parts);

// A row of blank pixels between the first lines of a grey page and the rest,
// near a third of the way down, or 0 when there is none (or the page is
// short): the text above it is read first, so that a stream can show its
// opening before the whole page is read.
int firstLinesSplitRow(Pix *grey);

} // namespace tavolen::service
