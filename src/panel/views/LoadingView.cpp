#include "panel/views/LoadingView.h"

#include "panel/views/PanelTexts.h"
#include "panel/views/ReadingParts.h"
#include "ui/Mark.h"
#include "ui/TextBlock.h"

#include <QBoxLayout>

namespace tavolen::panel::views {

namespace t = ui::tokens;

LoadingView::LoadingView(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    const int pad = int(t::space::progressPadding);
    row->setContentsMargins(pad, pad, pad, pad);
    row->setSpacing(int(t::space::progressSpacing));
    auto *mark = new ui::BreathingMark(t::size::loadingMark, this);
    mark->setObjectName(part::progressMark);
    auto *text = new ui::TextBlock(texts::loading(), t::type::body, ui::Ink::Secondary, this);
    text->setObjectName(part::progressText);
    row->addWidget(mark);
    row->addWidget(text, 1);
}

} // namespace tavolen::panel::views
