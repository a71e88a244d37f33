// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/KeyboardReturn.h"

#include <QWidget>

#include <utility>

namespace tavolen::panel {

void KeyboardReturn::remember(const QWidget &own)
{
    if (!m_windows)
        return;
    const std::optional<platform::ActiveWindow::Id> focused = m_windows->current();
    if (focused && *focused != own.winId())
        m_before = focused;
}

void KeyboardReturn::giveBack(const QWidget &own)
{
    const std::optional<platform::ActiveWindow::Id> before = std::exchange(m_before, std::nullopt);
    if (before && m_windows && own.isActiveWindow())
        m_windows->activate(*before);
}

} // namespace tavolen::panel
