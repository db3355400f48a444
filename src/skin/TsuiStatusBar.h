// The main window's status bar: panels of fixed widths, the last taking the rest, on the
// style's panel colour. Directly on the frame panel of a sizeable window that is not maximised
// it shows a handle at its bottom-right corner that resizes the window.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <vector>

class TsuiFileTheme;

class TsuiStatusBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TsuiFileTheme* FileTheme READ FileTheme WRITE setFileTheme)
    Q_PROPERTY(skin::TsuiUIStyle UIStyle READ UIStyle WRITE setUIStyle)
public:
    struct Panel {
        int width = 0;  // ignored for the last panel, which takes the rest
        QString text;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    explicit TsuiStatusBar(QWidget* parent);

    TsuiFileTheme* FileTheme() const { return style_.fileTheme(); }
    void setFileTheme(TsuiFileTheme* theme) { style_.setFileTheme(theme); }
    TsuiUIStyle UIStyle() const { return style_.uiStyle(); }
    void setUIStyle(TsuiUIStyle uiStyle) { style_.setUIStyle(uiStyle); }
    QColor PanelColor() const { return panelColor_; }
    void setPanelColor(const QColor& color);

    void setPanels(std::vector<Panel> panels);
    void setPanelText(int index, const QString& text);
    const QString& panelText(int index) const { return panels_.at(size_t(index)).text; }

    // Whether the sizing handle shows, and where.
    bool showsHandle() const;
    QRect handleRect() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    skin::ControlStyle style_;
    QColor panelColor_;
    std::vector<Panel> panels_;
    bool sizing_ = false;
};
