// The report-style list: rows of 17 pixels, grid lines, whole-row selection, one selected row
// at most, no in-place editing, its own headers hidden. It scrolls in whole rows. Its border is
// the skin's two-colour frame.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QTableView>

class TsuiFileTheme;

class TsuiListView : public QTableView {
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(skin::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
    Q_PROPERTY(QColor BorderColor READ BorderColor WRITE setBorderColor)
public:
    static constexpr int kRowHeight = 17;

    explicit TsuiListView(QWidget* parent);

    TsuiFileTheme* FileTheme() const { return style_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { style_.setFileTheme(theme); }
    TsuiUIStyle UIStyle() const { return style_.uiStyle(); }
    void setUIStyle(TsuiUIStyle uiStyle) { style_.setUIStyle(uiStyle); }
    QColor BorderColor() const { return borderColor_; }
    void setBorderColor(const QColor& color);

    void setColumnWidths(const std::vector<int>& widths);
    // Scrolls down by the given number of pixels, in whole rows; a negative amount scrolls up.
    void scrollByPixels(int pixels);

protected:
    bool event(QEvent* event) override;

private:
    skin::ControlStyle style_;
    QColor borderColor_;
};
