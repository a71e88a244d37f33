// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ToastView.h"

#include "ui/MarkView.h"
#include "ui/Motion.h"
#include "ui/TextBlock.h"
#include "ui/Tokens.h"

#include <QCoreApplication>

#include <QBoxLayout>
#include <QPainter>

#include <cmath>

namespace tavolen::app {

namespace {

// The context translators see this file's texts under.
struct ReadyNoteTexts {
    Q_DECLARE_TR_FUNCTIONS(ReadyNoteTexts)
};

} // namespace

namespace t = ui::tokens::shell::toast;

ToastView::ToastView(ui::Backdrop backdrop, QWidget *parent)
    : QWidget(parent), m_backdrop(backdrop),
      m_text(new ui::TextBlock(ReadyNoteTexts::tr("Tavolen is ready — press Alt+Shift+S"), t::text,
                               ui::Ink::Primary))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(int(t::padH), int(t::padV), int(t::padH), int(t::padV));
    row->setSpacing(int(t::spacing));
    row->addWidget(new ui::MarkView(t::mark, QColor(ui::tokens::shell::brandMark)), 0, Qt::AlignVCenter);
    row->addWidget(m_text, 1, Qt::AlignVCenter);
    ui::EntranceEffect::install(this);
}

QString ToastView::text() const
{
    return m_text->text();
}

QSize ToastView::fittingSize() const
{
    const int width = std::min(sizeHint().width(), int(t::proposedWidth));
    return QSize(width, std::max(heightForWidth(width), minimumSizeHint().height()));
}

void ToastView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    ui::paintGlassCapsule(painter, rect(), palette(), m_backdrop);
}

} // namespace tavolen::app
