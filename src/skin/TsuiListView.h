// The report-style list: rows of 17 pixels, grid lines, whole-row selection, one selected row
// at most, no in-place editing, its own headers hidden. It scrolls in whole rows. Its border is
// the skin's two-colour frame.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QTableView>

class TsuiListView : public QTableView, public skin::BorderedControl {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 17;

    explicit TsuiListView(QWidget* parent);

    void setColumnWidths(const std::vector<int>& widths);
    // Scrolls down by the given number of pixels, in whole rows; a negative amount scrolls up.
    void scrollByPixels(int pixels);

protected:
    bool event(QEvent* event) override;
};
