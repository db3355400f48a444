#include "TsuiListView.h"

#include "SkinPainting.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

TsuiListView::TsuiListView(QWidget* parent)
    : QTableView(parent), skin::BorderedControl(this, {})
{
    skin::reserveFrame(this, 2);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(214,211,206); }"));
}

void TsuiListView::setColumnWidths(const std::vector<int>& widths)
{
    for (size_t i = 0; i < widths.size(); ++i)
        horizontalHeader()->resizeSection(int(i), widths[i]);
}

void TsuiListView::scrollByPixels(int pixels)
{
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + pixels / kRowHeight);
}

bool TsuiListView::event(QEvent* event)
{
    const bool handled = QTableView::event(event);
    if (event->type() == QEvent::Paint)
        skin::paintFrameOver(this, borderColor_);
    return handled;
}
