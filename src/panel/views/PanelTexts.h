// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The panel's own words, in the interface language of the moment they are
// built. Everything else the panel shows is the service's text, verbatim.
namespace tavolen::panel::texts {

QString translationToggle(bool expanded);
QString hiddenMeaningHeading();
QString copied();
QString trustBadge();
QString readingOnly();
// Under a reading from an engine that writes no replies, and its link.
QString repliesNeedModel();
QString setUpModel();
QString original();
QString shorter();
QString loading();
QString streaming();
QString permission();
QString permissionButton();
// For screen readers only.
QString close();
QString replyCardHint();
QString suggestedReply();

} // namespace tavolen::panel::texts
