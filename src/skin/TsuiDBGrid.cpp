#include "TsuiDBGrid.h"

#include "SkinPainting.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>

namespace skin {

GridCellDelegate::GridCellDelegate(TsuiDBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    const bool focused = option.state & QStyle::State_HasFocus;
    painter->save();
    painter->fillRect(option.rect, grid_->cellColor(selected, focused));
    painter->setFont(TsuiDBGrid::gridFont());
    painter->setPen(grid_->cellTextColor(selected, focused));
    painter->drawText(option.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data().toString());
    painter->restore();
    if (grid_->drawColumnCell()) {
        painter->save();
        grid_->drawColumnCell()(*painter, option, index);
        painter->restore();
    }
}

GridTitleRow::GridTitleRow(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void GridTitleRow::setColours(const QColor& background, const QColor& text)
{
    background_ = background;
    text_ = text;
    viewport()->update();
}

void GridTitleRow::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    static const QFont titleFont = [] {
        QFont font(QStringLiteral("宋体"));
        font.setPixelSize(12);
        return font;
    }();
    painter->save();
    painter->fillRect(rect, background_);
    painter->setPen(background_.darker(130));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->setPen(text_);
    painter->setFont(titleFont);
    const QString title = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    painter->drawText(rect.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
    painter->restore();
}

} // namespace skin

QFont TsuiDBGrid::gridFont()
{
    return skin::windowFont();
}

TsuiDBGrid::TsuiDBGrid(QWidget* parent)
    : QTableView(parent), skin::BorderedControl(this, [this] { readStyle(); })
{
    skin::reserveFrame(this, 1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setFont(gridFont());
    titleRow_ = new skin::GridTitleRow(this);
    setHorizontalHeader(titleRow_);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setItemDelegate(new skin::GridCellDelegate(this));
    readStyle();
}

// Fixed cells, title text, cell text and cells; the border is read before.
void TsuiDBGrid::readStyle()
{
    fixedBGColor_ = skin::toQColor(style_.color(StyleEntry::MenuSelectedBackgroundColor));
    titleFontColor_ = skin::toQColor(style_.color(StyleEntry::MenuSelectedFontColor));
    fontColor_ = skin::toQColor(style_.color(StyleEntry::MenuFontColor));
    bgColor_ = skin::toQColor(style_.color(StyleEntry::ControlBackgroundColor));
    applyTitleColours();
    applyCellColours();
}

void TsuiDBGrid::applyTitleColours()
{
    titleRow_->setColours(fixedBGColor_, titleFontColor_);
}

// The toolkit's own colours follow the cells', for what it paints around them.
void TsuiDBGrid::applyCellColours()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, bgColor_);
    colours.setColor(QPalette::Text, fontColor_);
    colours.setColor(QPalette::Highlight, selectedColor_);
    setPalette(colours);
    viewport()->update();
}

QColor TsuiDBGrid::cellColor(bool selected, bool focused) const
{
    if (focused)
        return focusedColor_;
    return selected ? selectedColor_ : bgColor_;
}

// Text on a dark selected or focused cell is white, as the toolkit shows highlighted text; on a
// light one (a yellow selection) it keeps the font colour so that it stays readable.
QColor TsuiDBGrid::cellTextColor(bool selected, bool focused) const
{
    if (!selected && !focused)
        return fontColor_;
    return qGray(cellColor(selected, focused).rgb()) < 128 ? QColor(Qt::white) : fontColor_;
}

void TsuiDBGrid::setFocusedColor(const QColor& color)
{
    focusedColor_ = color;
    applyCellColours();
}

void TsuiDBGrid::setSelectedColor(const QColor& color)
{
    selectedColor_ = color;
    applyCellColours();
}

void TsuiDBGrid::setFontColor(const QColor& color)
{
    fontColor_ = color;
    applyCellColours();
}

void TsuiDBGrid::setBGColor(const QColor& color)
{
    bgColor_ = color;
    applyCellColours();
}

void TsuiDBGrid::setTitleFontColor(const QColor& color)
{
    titleFontColor_ = color;
    applyTitleColours();
}

void TsuiDBGrid::setFixedBGColor(const QColor& color)
{
    fixedBGColor_ = color;
    applyTitleColours();
}

bool TsuiDBGrid::event(QEvent* event)
{
    const bool handled = QTableView::event(event);
    if (event->type() == QEvent::Paint)
        skin::paintFrameOver(this, borderColor_);
    return handled;
}
