// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QScreen>

#include <functional>
#include <optional>

namespace tavolen::capture {

// What the user picked: a rectangle in logical pixels, local to `screen`
// (origin at that screen's top-left corner, y down).
struct Selection {
    QRectF rect;
    QPointer<QScreen> screen;
    // The screen's native pixels as the overlay showed them, when it showed
    // a still (no compositor); null when the live desktop showed through.
    QImage still{};
};

// Called exactly once per accepted selection; nullopt means cancelled.
using SelectionCompletion = std::function<void(std::optional<Selection>)>;

// The selection overlay as the capture flow sees it.
class Selector {
public:
    virtual ~Selector() = default;
    // Shows the overlay on every screen and calls `completion` once, on the GUI
    // thread, after the overlay windows are gone. Ignored (and `completion`
    // never called) while a selection is already in progress.
    virtual void begin(SelectionCompletion completion) = 0;
};

// Where the panel goes for a selection: the rectangle in global logical
// coordinates.
QRectF nearRect(const Selection &selection);

} // namespace tavolen::capture
