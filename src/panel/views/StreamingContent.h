// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <QWidget>

namespace tavolen::panel::views {

// The reading as far as it has streamed in, above the breathing mark and
// "Writing your reply…".
class StreamingContent final : public QWidget {
public:
    StreamingContent(const protocol::StreamPartial &partial, QWidget *parent);
};

} // namespace tavolen::panel::views
