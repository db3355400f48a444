// The preview pane of the album: the Line.bmp strip at its left edge, the Show.bmp title strip
// with the position label, the picture area with the current picture at its top-left corner, and
// the picture toolbar at the bottom. It shows whatever record of the picture query it is given.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

class QLabel;
class QMenu;
class QToolBar;
class TImage;

namespace store {
class Query;
}

namespace album {

class PreviewPicture;

// The size a picture of the natural size is shown at in the area: reduced to fit, never
// enlarged, the aspect kept with the products taken before the division (which truncates).
QSize fitPicture(QSize natural, QSize area);

class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent);

    // Loads Line.bmp and Show.bmp from the Themes folder where they exist.
    void loadThemePictures(const QString& themesFolder);
    // The picture's pop-up menu.
    void setPictureMenu(QMenu* menu);
    // Places the strips, the picture area and the toolbar in the pane's current size. The pane
    // calls it while shown; hidden, the picture area keeps its size for the fit.
    void layOut();

    // Clears the picture, then shows the query's current record: its picture decoded (Myimage is
    // read only for a BMP or JPEG record) and fitted to the picture area, its description as the
    // hint, and the position label "n/count  widthxheight". Throws DecodeError when the record's
    // data does not decode; the picture then stays empty and the label shows the record at 0x0.
    void showRecord(const store::Query& query);

    // The picture shown, empty when there is none.
    const QImage& picture() const;
    // The stored bytes behind the picture when it is a JPEG record, empty otherwise.
    const QByteArray& jpegData() const { return jpeg_; }
    QString hint() const;
    QSize pictureSize() const;
    QString positionText() const;
    QWidget* pictureArea() const { return PictureArea; }
    QLabel* positionLabel() const { return Label3; }
    QToolBar* toolBar() const { return ToolBar1; }

private:
    // The position label: "position/count  widthxheight".
    void showPlace(int position, int count, QSize natural);

    QByteArray jpeg_;
    TImage* LineImage = nullptr;  // Line.bmp strip at the left edge
    TImage* ShowImage = nullptr;  // Show.bmp title strip
    QLabel* Label3 = nullptr;     // the position label
    QWidget* PictureArea = nullptr;
    PreviewPicture* Image3 = nullptr;
    QToolBar* ToolBar1 = nullptr;
};

} // namespace album
