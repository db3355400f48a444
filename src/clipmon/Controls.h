// Controls the clipboard monitor needs beyond the skin's current set.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

class QImage;

// A box framed by a hairline that leaves a gap for its caption at the top left, over a group of
// controls; drawn entirely by itself.
class TsuiGroupBox : public QWidget {
    Q_OBJECT
public:
    TsuiGroupBox(const QString& caption, QWidget* parent);
    const QString& caption() const { return caption_; }
    QColor CaptionColor = Qt::black;
    QColor BorderColor{104, 104, 104};

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString caption_;
};

namespace clipmon {

// Shows a picture stretched over its whole area. It keeps only a copy scaled to its own size,
// so a huge picture is held once, by whoever owns it, and drawing stays cheap.
class ScaledImage : public QWidget {
    Q_OBJECT
public:
    explicit ScaledImage(QWidget* parent);
    // Scales the picture to this view's current size; a null picture empties the view.
    void setPicture(const QImage& picture);
    void setScaledPicture(const QPixmap& scaled);
    const QPixmap& scaledPicture() const { return scaled_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap scaled_;
};

// The picture scaled to exactly the given size, as stretching shows it. A picture far larger
// than that is first reduced by sampling, so a huge one costs little more than a small one.
QPixmap stretchedCopy(const QImage& picture, QSize size);

} // namespace clipmon
