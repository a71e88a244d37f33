// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

#include <functional>

namespace tavolen::panel::views {

// Capture is not permitted in this session: what to do, and a button that
// asks the platform for access.
class PermissionContent final : public QWidget {
public:
    PermissionContent(std::function<void()> requestAccess, QWidget *parent);
};

} // namespace tavolen::panel::views
