// The captioned panel: a caption bar from the style's side-channel picture across its top, the
// caption on it, and a button at its right end that collapses the panel to its bar and expands
// it again, 15 pixels a step.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class TsuiPanel : public QWidget, public skin::BorderedControl {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
public:
    static constexpr int kStep = 15;
    // The bar's height when the style gives no bar picture.
    static constexpr int kBarlessHeight = 20;

    explicit TsuiPanel(QWidget* parent, const QString& caption = {});

    const QString& Caption() const { return caption_; }
    void setCaption(const QString& caption);
    void setShowButton(bool show);
    QColor Color() const { return color_; }
    void setColor(const QColor& color);

    // The caption bar's height: its picture's, or 20 without one.
    int barHeight() const;
    // Where the button is drawn, and where the mouse makes it hot.
    QRect buttonRect() const;
    bool isHotAt(QPoint at) const;
    bool isCollapsed() const { return collapsed_; }
    // The height the panel returns to when it expands.
    int rememberedHeight() const { return rememberedHeight_; }
    // The area the panel's content fills: inside the border, below the bar.
    QRect clientArea() const;
    // Makes a child fill the client area, now and after every resize of the panel.
    void alignClient(QWidget* child);

    // What a click on the hot button does: collapse an expanded panel, expand a collapsed one.
    void toggle();

signals:
    void OnPush();  // the panel has collapsed
    void OnPop();   // the panel has expanded

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void readStyle();
    // Changes the height to target in 15-pixel steps, each shown at once.
    void slideTo(int target);

    QString caption_;
    bool showButton_ = true;
    QColor captionFontColor_;
    QColor color_ = Qt::white;
    QImage bar_;
    bool collapsed_ = false;
    bool moving_ = false;
    bool hot_ = false;
    int rememberedHeight_ = 0;
    QWidget* clientChild_ = nullptr;
};
