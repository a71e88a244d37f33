// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

namespace tavolen::panel::views {

// A failure, in the words it arrives with (possibly none).
class ErrorContent final : public QWidget {
public:
    ErrorContent(const QString &message, QWidget *parent);
};

} // namespace tavolen::panel::views
