// The skinned progress bar: always 12 pixels thick, drawn by the skin from the style's
// progress picture stretched over the filled part, Color over the rest, the percentage as its
// caption and a one-pixel frame in BorderColor.
#pragma once

#include "ControlStyle.h"

#include <QColor>
#include <QImage>
#include <QProgressBar>

class QPainter;

enum TsuiProgressBarOrientation { suiHorizontal, suiVertical };

class TsuiProgressBar : public QProgressBar, public skin::BorderedControl {
    Q_OBJECT
public:
    static constexpr int kThickness = 12;

    // 150 × 12 at 50 of 0 to 100, in the style of the window it is created in; hidden until
    // used, as every bar of the program is.
    explicit TsuiProgressBar(QWidget* parent);

    void setMin(int min) { setMinimum(min); }
    void setMax(int max) { setMaximum(max); }
    int Position() const { return value(); }
    void setPosition(int position) { setValue(position); }

    TsuiProgressBarOrientation Orientation() const { return orientation_; }
    // Turns the bar, its long side staying long.
    void setOrientation(TsuiProgressBarOrientation orientation);
    void setShowCaption(bool show) { setTextVisible(show); }
    // With SmartShowCaption the caption shows only once the position has left Min.
    void setSmartShowCaption(bool smart);
    void setCaptionColor(const QColor& color);
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    const QImage& Picture() const { return picture_; }
    void setPicture(const QImage& picture);

    // (position − min) × 100 div (max − min) and "%"; "0%" when min equals max.
    static QString captionFor(qint64 min, qint64 max, qint64 position);
    // How much of a bar of the given length is filled: 0 while min ≥ max or position ≤ min,
    // length − 1 past max, else (length − 1) × (position − min) div (max − min); never below 1.
    static int filledLength(int length, qint64 min, qint64 max, qint64 position);

    QString text() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void readStyle();
    void fixThickness();
    QImage paintHorizontal() const;
    QImage paintVertical() const;
    bool captionShown() const;
    void frame(QPainter& painter, const QRect& area) const;

    TsuiProgressBarOrientation orientation_ = suiHorizontal;
    bool smartShowCaption_ = false;
    QColor captionColor_ = Qt::black;
    QColor color_;
    QImage picture_;
};
