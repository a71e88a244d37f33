// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/Gallery.h"

#include <vector>

namespace tavolen::app {

// The shell's own surfaces for the gallery: the ready toast and the
// first-run window before and after screen access is given.
std::vector<panel::GalleryEntry> shellGalleryEntries();

} // namespace tavolen::app
