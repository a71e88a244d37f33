// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/StreamingContent.h"

#include "panel/views/PanelTexts.h"
#include "panel/views/ReadingParts.h"

#include <QBoxLayout>

namespace tavolen::panel::views {

namespace t = ui::tokens;

StreamingContent::StreamingContent(const protocol::StreamPartial &partial, QWidget *parent) : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    const int pad = int(t::space::contentPadding);
    column->setContentsMargins(pad, pad, pad, pad);
    column->setSpacing(int(t::space::contentSpacing));
    QVBoxLayout *header = addHeader(column, this, partial.tone_label, partial.summary);
    // An empty header takes no room.
    if (header->count() == 0) {
        column->removeItem(header);
        delete header;
    }
    addHiddenMeaning(column, this, partial.hidden_meaning);
    addRiskLine(column, this, partial.risk_reason, partial.risk_level);

    column->addLayout(makeProgressRow(this, t::size::streamingMark, texts::streaming(),
                                      t::type::streamingNote, ui::Ink::Tertiary,
                                      t::space::streamingRowSpacing));
}

} // namespace tavolen::panel::views
