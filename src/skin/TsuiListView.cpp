#include "TsuiListView.h"

#include "SkinPainting.h"

#include <QEvent>
#include <QHeaderView>
#include <QProxyStyle>
#include <QScrollBar>

namespace {
// The application's style with the list's own grid line colour: cheaper to make than a style
// sheet, which would be parsed while the window is built.
class GridLineStyle : public QProxyStyle {
public:
    static GridLineStyle& instance()
    {
        static GridLineStyle* style = new GridLineStyle;  // lives as long as the lists using it
        return *style;
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_Table_GridLineColor)
            return int(qRgb(214, 211, 206));
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};
} // namespace

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
    setStyle(&GridLineStyle::instance());
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
