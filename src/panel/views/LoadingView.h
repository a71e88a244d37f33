// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

namespace tavolen::panel::views {

// Nothing has come back yet: the breathing mark and "Reading the room…".
class LoadingView final : public QWidget {
public:
    explicit LoadingView(QWidget *parent);
};

} // namespace tavolen::panel::views
