// The skinned drop-down lists: the toolkit's combo box drawn with the skin's two-colour frame
// and its own drop-down button, the dropped-down list framed in BorderColor.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QComboBox>

class TsuiCustomComboBox : public QComboBox, public skin::BorderedControl {
    Q_OBJECT
public:
    // 宋体 12 pixels, in the style of the window it is created in.
    explicit TsuiCustomComboBox(QWidget* parent);

    // The dropped-down list's frame follows.
    void setBorderColor(const QColor& color);
    QColor ButtonColor() const { return buttonColor_; }
    void setArrowColor(const QColor& color);
    // The colour behind the text, also the frame's inner line.
    QColor Color() const { return palette().color(QPalette::Base); }
    void setColor(const QColor& color);

    // Where the drop-down button is drawn: the right end inside the frame, 16 pixels wide.
    QRect buttonArea() const;
    // Where the current item is shown: left of the button, inside the frame.
    QRect itemArea() const;

protected:
    // The current item in the item area; the owner-drawn lists draw it as their items.
    virtual void paintCurrentItem(QPainter& painter, const QRect& area);
    void paintEvent(QPaintEvent*) override;

private:
    void readStyle();
    void paintButton(QPainter& painter) const;
    void paintArrow(QPainter& painter) const;
    void framePopup();

    QColor buttonColor_;
    QColor arrowColor_ = Qt::black;
};

class TsuiComboBox : public TsuiCustomComboBox {
    Q_OBJECT
public:
    explicit TsuiComboBox(QWidget* parent) : TsuiCustomComboBox(parent) {}
};
