// The preview pane of the album: the Line.bmp strip at its left edge, the Show.bmp title strip
// with the position label, the picture area with the current picture at its top-left corner, and
// the picture toolbar at the bottom. It shows whatever record of the picture query it is given.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QVariant>
#include <QWidget>

#include "PictureCodec.h"

#include <memory>

class QLabel;
class QMenu;
class QToolBar;
class TImage;

namespace store {
class Query;
}

namespace album {

class DecodeThread;
class PictureReader;
class PreviewPicture;

// A record's picture made ready for the preview area.
struct PreviewImage {
    QSize natural;  // the picture's own size
    QImage shown;   // the picture at its fitted size, drawn as it is
    QImage full;    // a BMP record's picture at its own size; empty for a JPEG record
};
// Decodes a BMP or JPEG record for an area of the given size: a JPEG only at the smallest DCT
// scale that covers its fitted size, then scaled once to that size. Safe on any thread. Throws
// DecodeError as the codec does, DecodeCancelled when cancelled is set meanwhile.
PreviewImage decodePreview(const QByteArray& data, const QVariant& flag, QSize area,
                           CancelFlag cancelled = nullptr);
// The same, reading the data piece by piece as the decoder goes.
PreviewImage decodePreview(PictureBytes& data, const QVariant& flag, QSize area,
                           CancelFlag cancelled = nullptr);

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

    // Clears the picture, then shows the query's current record: its description as the hint and
    // the position label "n/count  0x0" at once; its picture (Myimage is read only for a BMP or
    // JPEG record, and by the decoding thread) decoded there, then fitted to the picture area with the
    // label "n/count  widthxheight", unless another record was shown meanwhile. When the data
    // does not decode, decodeFailed follows; the picture then stays empty and the label shows the
    // record at 0x0.
    void showRecord(const store::Query& query);
    // Whether a record's picture is still being decoded.
    bool decoding() const;
    // Waits until the picture being decoded is in place (or its failure signalled).
    void waitForDecode();

    // The picture of the record shown, empty when there is none or while it decodes: a BMP at
    // its own size, a JPEG as shown (its own pixels are in jpegData()).
    const QImage& picture() const;
    // The picture in place when it is that of the row with rowKey and holds at least cell's
    // pixels (or is the whole picture at its own size), so that a thumbnail of the row can be
    // made from it instead of decoding the row again; null otherwise.
    QImage pictureForThumbnail(quint64 rowKey, QSize cell) const;
    // The stored bytes behind the picture when it is a JPEG record, empty otherwise; read from
    // the record when first asked for. Throws StoreError.
    const QByteArray& jpegData() const;
    QString hint() const;
    QSize pictureSize() const;
    QString positionText() const;
    QWidget* pictureArea() const { return PictureArea; }
    QLabel* positionLabel() const { return Label3; }
    QToolBar* toolBar() const { return ToolBar1; }

signals:
    // The picture of the record last shown is in place.
    void decoded();
    // The record last shown does not decode; message says why.
    void decodeFailed(const QString& message);

private:
    // The position label: "position/count  widthxheight".
    void showPlace(int position, int count, QSize natural);
    // Whether the query still stands on the record whose decoding was asked for.
    bool stillShowing() const;
    void takePicture(quint64 request, const PreviewImage& image);
    void takeFailure(quint64 request, const QString& message);

    // What the decoding in progress is for: the newest request, and its record.
    struct Request {
        quint64 number = 0;
        const store::Query* query = nullptr;
        int index = -1;
        quint64 rowKey = 0;
        int position = -1;
        int count = 0;
    };
    Request request_;
    bool decoding_ = false;
    bool jpegShown_ = false;      // the picture in place is a JPEG record's
    mutable QByteArray jpeg_;     // its stored bytes, once asked for
    std::shared_ptr<PictureReader> reader_;  // shared with the jobs, which may outlive the view
    QImage full_;
    QSize natural_;  // the size of the picture in place, before any fitting
    TImage* LineImage = nullptr;  // Line.bmp strip at the left edge
    TImage* ShowImage = nullptr;  // Show.bmp title strip
    QLabel* Label3 = nullptr;     // the position label
    QWidget* PictureArea = nullptr;
    PreviewPicture* Image3 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    DecodeThread* decoder_ = nullptr;
};

} // namespace album
