// The scaled picture view the clipboard monitor shows its pictures in.
#pragma once

#include <QPixmap>
#include <QWidget>

class QImage;

namespace skin {

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

} // namespace skin
