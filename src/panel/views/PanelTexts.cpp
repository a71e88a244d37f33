// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/PanelTexts.h"

#include <QCoreApplication>

namespace tavolen::panel::texts {

namespace {

// The context translators see this file's texts under.
struct PanelTexts {
    Q_DECLARE_TR_FUNCTIONS(PanelTexts)
};

} // namespace

QString translationToggle(bool expanded)
{
    return expanded ? PanelTexts::tr("Hide translation") : PanelTexts::tr("Full translation");
}

QString hiddenMeaningHeading()
{
    return PanelTexts::tr("What's really going on");
}

// Paste is Ctrl+V here.
QString copied()
{
    return PanelTexts::tr("Copied · Ctrl+V");
}

QString trustBadge()
{
    return PanelTexts::tr("Analyzed · screenshot not kept");
}

QString readingOnly()
{
    return PanelTexts::tr("Reading-only · no reply needed");
}

QString repliesNeedModel()
{
    return PanelTexts::tr("Replies need a language model");
}

QString setUpModel()
{
    return PanelTexts::tr("Set up…");
}

QString original()
{
    return PanelTexts::tr("Original");
}

QString shorter()
{
    return PanelTexts::tr("Shorter");
}

QString loading()
{
    return PanelTexts::tr("Reading the room…");
}

QString streaming()
{
    return PanelTexts::tr("Writing your reply…");
}

// A Linux desktop has no screen-recording switch in its settings: capture is
// refused by the session (a Wayland desktop asks through its portal), so the
// text says what the user can do here rather than name a settings pane.
QString permission()
{
    return PanelTexts::tr(
        "Screen capture permission needed: this session does not let Tavolen read the screen. "
        "Allow screen capture for Tavolen when your desktop asks, or sign in to an X11 session, "
        "then try again.");
}

QString permissionButton()
{
    return PanelTexts::tr("Allow Screen Capture");
}

QString close()
{
    return PanelTexts::tr("Close");
}

QString replyCardHint()
{
    return PanelTexts::tr("Suggested reply. Press to copy it.");
}

QString suggestedReply()
{
    return PanelTexts::tr("Suggested reply");
}

} // namespace tavolen::panel::texts
