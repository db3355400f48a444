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

class TsuiForm;
namespace skin {
class WindowFrame;
}

class TsuiStatusBar : public QWidget, public skin::StyledControl {
    Q_OBJECT
public:
    struct Panel {
        int width = 0;  // ignored for the last panel, which takes the rest
        QString text;
        Qt::Alignment alignment = Qt::AlignLeft;
    };

    explicit TsuiStatusBar(QWidget* parent);
    // Directly on a frame panel.
    explicit TsuiStatusBar(TsuiForm* form);

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
    TsuiStatusBar(QWidget* parent, const skin::WindowFrame* frame);

    const skin::WindowFrame* frame_;
    QColor panelColor_;
    std::vector<Panel> panels_;
    bool sizing_ = false;
};
