// The skinned record grid: the toolkit's table view with a one-pixel frame in BorderColor, its
// title row in FixedBGColor and TitleFontColor, and each non-fixed cell filled before its text
// is drawn: SelectedColor for a selected cell, FocusedColor for the focused one (over the
// selected colour), BGColor otherwise. The owner may draw over a cell afterwards.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace skin {
class GridTitleRow;
}

class TsuiDBGrid : public QTableView, public skin::BorderedControl {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 18;
    // The title row's height: its 12-pixel text and the section's margins. A model that gives it
    // as its header's size hint spares the header measuring each title in a bold font.
    static constexpr int kTitleRowHeight = 22;
    // Called after the grid has drawn a non-fixed cell, with the painter saved around it.
    using DrawColumnCell = std::function<void(QPainter&, const QStyleOptionViewItem&, const QModelIndex&)>;

    // Read-only, whole-row selection of one row, 宋体 12 pixels, focused green, selected yellow,
    // the other colours from the style of the window it is created in.
    explicit TsuiDBGrid(QWidget* parent);
    static QFont gridFont();

    QColor FocusedColor() const { return focusedColor_; }
    void setFocusedColor(const QColor& color);
    QColor SelectedColor() const { return selectedColor_; }
    void setSelectedColor(const QColor& color);
    QColor FontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);
    QColor TitleFontColor() const { return titleFontColor_; }
    void setTitleFontColor(const QColor& color);
    QColor FixedBGColor() const { return fixedBGColor_; }
    void setFixedBGColor(const QColor& color);
    QColor BGColor() const { return bgColor_; }
    void setBGColor(const QColor& color);

    void setDrawColumnCell(DrawColumnCell handler) { drawColumnCell_ = std::move(handler); }
    const DrawColumnCell& drawColumnCell() const { return drawColumnCell_; }

    // The colour a non-fixed cell is filled with before its text.
    QColor cellColor(bool selected, bool focused) const;
    QColor cellTextColor(bool selected, bool focused) const;

protected:
    bool event(QEvent* event) override;

private:
    void readStyle();
    void applyTitleColours();
    void applyCellColours();

    QColor focusedColor_{0, 128, 0};
    QColor selectedColor_{255, 255, 0};
    QColor fontColor_;
    QColor titleFontColor_;
    QColor fixedBGColor_;
    QColor bgColor_;
    DrawColumnCell drawColumnCell_;
    skin::GridTitleRow* titleRow_ = nullptr;
};

namespace skin {
// The grid's title row: each title in 宋体 12 pixels, two pixels in from the left, on the fixed
// colour with a darker line at its right; drawn by hand, so that making a grid parses no style
// sheet.
class GridTitleRow : public QHeaderView {
    Q_OBJECT
public:
    explicit GridTitleRow(QWidget* parent);
    void setColours(const QColor& background, const QColor& text);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QColor background_;
    QColor text_;
};

// Paints the grid's non-fixed cells: the cell colour, the text, then the owner's handler.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridCellDelegate(TsuiDBGrid* grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TsuiDBGrid* grid_;
};
} // namespace skin
