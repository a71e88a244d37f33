// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/WindowFacts.h"

namespace tavolen::platform::x11 {

std::optional<QRect> candidateRect(const WindowFacts &facts, quint32 ownPid,
                                   std::optional<quint32> currentDesktop)
{
    if (!facts.viewable || facts.overrideRedirect || facts.hidden || facts.notAppWindow)
        return std::nullopt;
    if (facts.pid && *facts.pid == ownPid)
        return std::nullopt;
    if (facts.desktop && currentDesktop && *facts.desktop != kAllDesktops &&
        *facts.desktop != *currentDesktop)
        return std::nullopt;

    QRect rect = facts.client;
    if (facts.shadow)
        rect.adjust(facts.shadow->left, facts.shadow->top, -facts.shadow->right, -facts.shadow->bottom);
    if (facts.frame)
        rect.adjust(-facts.frame->left, -facts.frame->top, facts.frame->right, facts.frame->bottom);
    if (rect.width() <= 0 || rect.height() <= 0)
        return std::nullopt;
    return rect;
}

} // namespace tavolen::platform::x11
