#pragma once

#include "api/Records.h"

#include <QWidget>

namespace tavolen::panel::views {

// The reading as far as it has streamed in, above the breathing mark and
// "Writing your reply…".
class StreamingContent final : public QWidget {
public:
    StreamingContent(const api::StreamPartial &partial, QWidget *parent);
};

} // namespace tavolen::panel::views
