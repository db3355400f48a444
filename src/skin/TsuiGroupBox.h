// The skinned group box: a hairline in BorderColor round its content that leaves a gap for the
// caption at the top left. Disabling the box disables each of its direct children.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QWidget>

class TsuiGroupBox : public QWidget, public skin::BorderedControl {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
public:
    // 185 × 105 in its parent's colour and the style of the window it is created in.
    explicit TsuiGroupBox(QWidget* parent, const QString& caption = {});
    TsuiGroupBox(const QString& caption, QWidget* parent) : TsuiGroupBox(parent, caption) {}

    const QString& Caption() const { return caption_; }
    void setCaption(const QString& caption);
    // The caption's colour.
    QColor FontColor() const { return fontColor_; }
    void setFontColor(const QColor& color);
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);

    // Enables or disables the box and each of its direct child controls.
    void setEnabled(bool enabled);

    // The row of the top line: half the font's height + 1.
    int lineRow() const;
    // The area the box's content fills: inside the line, below the caption.
    QRect clientArea() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void readStyle();

    QString caption_;
    QColor fontColor_;
    QColor color_;
    bool transparent_ = false;
};
