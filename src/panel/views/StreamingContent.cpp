#include "panel/views/StreamingContent.h"

#include "panel/views/PanelTexts.h"
#include "panel/views/ReadingParts.h"
#include "ui/Mark.h"
#include "ui/TextBlock.h"

#include <QBoxLayout>

namespace tavolen::panel::views {

namespace t = ui::tokens;

StreamingContent::StreamingContent(const api::StreamPartial &partial, QWidget *parent) : QWidget(parent)
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

    auto *row = new QHBoxLayout;
    row->setSpacing(int(t::space::streamingRowSpacing));
    auto *mark = new ui::BreathingMark(t::size::streamingMark, this);
    mark->setObjectName(part::progressMark);
    auto *text = new ui::TextBlock(texts::streaming(), t::type::streamingNote, ui::Ink::Tertiary, this);
    text->setObjectName(part::progressText);
    row->addWidget(mark);
    row->addWidget(text, 1);
    column->addLayout(row);
}

} // namespace tavolen::panel::views
