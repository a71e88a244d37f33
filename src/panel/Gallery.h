// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelState.h"

#include <QImage>
#include <QPalette>
#include <QString>

#include <functional>
#include <vector>

namespace tavolen::panel {

// One picture of the gallery: a panel state (or a pill) in one language.
struct GalleryEntry {
    QString name;    // file-name stem, e.g. "result-translation-open"
    QString caption; // what the picture shows
    // Builds the view for the current language; the gallery renders it.
    std::function<QWidget *()> build;
};

// The full card showing `state`, as the gallery pictures it.
QWidget *fullCard(const PanelState &state);

// Every panel state and notable variant, built in the interface language
// of the moment they are called.
std::vector<GalleryEntry> galleryEntries();

// The palettes the gallery renders with.
QPalette lightPalette();
QPalette darkPalette();

// Renders `view` (deleting it) on a neutral backdrop with its shadow, at
// `scale` device pixels a logical pixel.
QImage renderPanelView(QWidget *view, const QPalette &palette, double scale);

// Writes every entry, and those `more` gives, in English and Chinese, light
// and dark, as PNGs at scale 2 into `directory`, with an index.html that
// shows them side by side. Returns an error text, empty on success.
QString writeGallery(const QString &directory, const std::function<std::vector<GalleryEntry>()> &more = {});

} // namespace tavolen::panel
