// The report-style list: rows of 17 pixels, grid lines, whole-row selection, one selected row
// at most, no in-place editing, its own headers hidden. It scrolls in whole rows.
#pragma once

#include <QTableView>

class TsuiListView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 17;

    explicit TsuiListView(QWidget* parent);
    void setColumnWidths(const std::vector<int>& widths);
    // Scrolls down by the given number of pixels, in whole rows; a negative amount scrolls up.
    void scrollByPixels(int pixels);
};
