#include "PictureView.h"

#include "DecodeThread.h"
#include "PictureReader.h"
#include "PictureRecords.h"
#include "skin/Controls.h"
#include "store/Query.h"
#include "store/Sqlite.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QToolBar>

namespace album {

namespace {

constexpr int kLineWidth = 6;
constexpr int kShowHeight = 19;
constexpr int kPictureToolBarHeight = 23;
const QColor kShowStripColor(58, 110, 165);
const QString kPictureGone = QStringLiteral("这张图片已不在数据文件中，无法读取它的 JPEG 数据");

QFont songTi12()
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}

void paintPanel(QWidget* widget)
{
    widget->setAutoFillBackground(true);
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, skin::kPanelColor);
    widget->setPalette(colours);
}

} // namespace

// The picture itself: drawn stretched to its own size; its pop-up menu is the picture menu.
class PreviewPicture : public QWidget {
public:
    using QWidget::QWidget;
    void setPicture(const QImage& picture)
    {
        picture_ = picture;
        update();
    }
    void clear() { setPicture(QImage()); }
    const QImage& picture() const { return picture_; }
    void setMenu(QMenu* menu) { menu_ = menu; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (picture_.isNull())
            return;
        QPainter(this).drawImage(rect(), picture_);
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (menu_)
            menu_->popup(event->globalPos());
    }

private:
    QImage picture_;
    QPointer<QMenu> menu_;
};

namespace {
// A tool bar that draws no panel and no border of its own: the picture panel shows through.
class ClearToolBar : public QToolBar {
public:
    using QToolBar::QToolBar;

protected:
    void paintEvent(QPaintEvent*) override {}
};
} // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    paintPanel(this);
    LineImage = new TImage(this);
    ShowImage = new TImage(this, kShowStripColor);
    Label3 = new QLabel(QStringLiteral("0/0  0x0"), ShowImage);
    Label3->setFont(songTi12());
    QPalette white = Label3->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    Label3->setPalette(white);
    Label3->move(8, 4);
    Label3->resize(400, 13);
    PictureArea = new QWidget(this);
    paintPanel(PictureArea);
    PictureArea->resize(214, 90);  // until the pane is first laid out
    Image3 = new PreviewPicture(PictureArea);
    Image3->setGeometry(0, 0, 0, 0);
    ToolBar1 = new ClearToolBar(this);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setMovable(false);
    decoder_ = new DecodeThread(this);
}

void PictureView::loadThemePictures(const QString& themesFolder)
{
    LineImage->loadFromFile(themesFolder + QStringLiteral("/Line.bmp"));
    ShowImage->loadFromFile(themesFolder + QStringLiteral("/Show.bmp"));
}

void PictureView::setPictureMenu(QMenu* menu)
{
    Image3->setMenu(menu);
}

void PictureView::layOut()
{
    const int w = width(), h = height();
    LineImage->setGeometry(0, 0, kLineWidth, h);
    const int inner = std::max(0, w - kLineWidth);
    ShowImage->setGeometry(kLineWidth, 0, inner, kShowHeight);
    PictureArea->setGeometry(kLineWidth, kShowHeight, inner,
                             std::max(0, h - kShowHeight - kPictureToolBarHeight));
    ToolBar1->setGeometry(kLineWidth, std::max(kShowHeight, h - kPictureToolBarHeight), inner,
                          kPictureToolBarHeight);
}

namespace {
// The picture as drawn in the area: the fitted size, scaled once, smoothly.
QImage scaledForArea(const QImage& decoded, QSize fitted)
{
    if (fitted.isEmpty() || decoded.size() == fitted)
        return decoded;
    return decoded.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
} // namespace

namespace {
template <typename Data>
PreviewImage decodePreviewOf(Data& data, const QVariant& flag, QSize area, CancelFlag cancelled)
{
    PreviewImage result;
    switch (formatOfFlag(flag)) {
    case PictureFormat::Jpeg: {
        JpegForArea jpeg = decodeJpegForArea(data, area, cancelled);
        result.natural = jpeg.natural;
        result.shown = scaledForArea(jpeg.decoded, fitPicture(result.natural, area));
        break;
    }
    case PictureFormat::Bmp:
        if constexpr (std::is_same_v<Data, PictureBytes>)
            result.full = decodeBmp(data.readAll());
        else
            result.full = decodeBmp(data);
        result.natural = result.full.size();
        result.shown = scaledForArea(result.full, fitPicture(result.natural, area));
        break;
    case PictureFormat::None:
        break;
    }
    return result;
}
} // namespace

PreviewImage decodePreview(const QByteArray& data, const QVariant& flag, QSize area, CancelFlag cancelled)
{
    return decodePreviewOf(data, flag, area, cancelled);
}

PreviewImage decodePreview(PictureBytes& data, const QVariant& flag, QSize area, CancelFlag cancelled)
{
    return decodePreviewOf(data, flag, area, cancelled);
}

void PictureView::showRecord(const store::Query& query)
{
    decoder_->cancelAll();
    decoding_ = false;
    Image3->clear();
    jpeg_.clear();
    jpegShown_ = false;
    full_ = QImage();
    natural_ = QSize();
    // The record's place and hint first, so that a picture that does not decode still shows
    // which record it is.
    request_ = Request{request_.number + 1, &query};
    request_.position = query.isOpen() ? query.recNo() : -1;
    request_.count = query.isOpen() ? query.recordCount() : 0;
    showPlace(request_.position, request_.count, QSize(0, 0));
    Image3->setGeometry(0, 0, 0, 0);
    Image3->setToolTip(query.isOpen() ? query.fieldText(kDescriptionColumn) : QString());
    const bool onRecord = query.isOpen() && !query.inserting() && query.currentIndex() >= 0;
    if (!onRecord)
        return;
    const QVariant flag = query.field(kFlagColumn);
    const PictureFormat format = formatOfFlag(flag);
    if (format == PictureFormat::None)
        return;
    request_.index = query.currentIndex();
    request_.rowKey = query.rowKeyAt(request_.index);
    const qint64 rowid = query.rowidAt(request_.index);
    if (!reader_ || reader_->storePath() != query.storePath())
        reader_ = std::make_shared<PictureReader>(query.storePath());
    const quint64 number = request_.number;
    const QSize area = PictureArea->size();
    decoding_ = true;
    decoder_->replace([this, number, reader = reader_, rowid, flag, area](
                          const std::atomic<bool>& cancelled) -> DecodeThread::Delivery {
        try {
            const std::unique_ptr<PictureBytes> data = reader->open(rowid);
            PreviewImage image = data ? decodePreview(*data, flag, area, &cancelled) : PreviewImage{};
            return [this, number, image = std::move(image)] { takePicture(number, image); };
        } catch (const DecodeCancelled&) {
            return {};
        } catch (const std::exception& failure) {
            const QString message = QString::fromUtf8(failure.what());
            return [this, number, message] { takeFailure(number, message); };
        }
    });
}

bool PictureView::stillShowing() const
{
    const store::Query* query = request_.query;
    return query && query->isOpen() && !query->inserting() && query->currentIndex() == request_.index
           && query->rowKeyAt(request_.index) == request_.rowKey;
}

// A result for an earlier request, or for a record the query has left without a new request,
// is dropped: a picture never shows under another record's place.
void PictureView::takePicture(quint64 request, const PreviewImage& image)
{
    if (request != request_.number || !decoding_)
        return;
    decoding_ = false;
    if (!stillShowing())
        return;
    full_ = image.full;
    natural_ = image.natural;
    jpegShown_ = image.full.isNull() && !image.shown.isNull();
    Image3->setPicture(image.shown);
    showPlace(request_.position, request_.count, image.natural);
    Image3->setGeometry(QRect(QPoint(0, 0), fitPicture(image.natural, PictureArea->size())));
    emit decoded();
}

void PictureView::takeFailure(quint64 request, const QString& message)
{
    if (request != request_.number || !decoding_)
        return;
    decoding_ = false;
    if (stillShowing())
        emit decodeFailed(message);
}

bool PictureView::decoding() const
{
    return decoding_;
}

void PictureView::waitForDecode()
{
    decoder_->waitUntilIdle();
}

void PictureView::showPlace(int position, int count, QSize natural)
{
    Label3->setText(QStringLiteral("%1/%2  %3x%4")
                        .arg(position)
                        .arg(count)
                        .arg(natural.width())
                        .arg(natural.height()));
}

const QByteArray& PictureView::jpegData() const
{
    if (jpegShown_ && jpeg_.isEmpty() && stillShowing()) {
        jpeg_ = request_.query->bytesAt(request_.index, kDataColumn);
        // Gone from the store since it was shown (deleted by another program): saying so, rather
        // than passing the picture off as a BMP record's.
        if (jpeg_.isEmpty())
            throw store::StoreError(kPictureGone.toStdString());
    }
    return jpeg_;
}

const QImage& PictureView::picture() const
{
    return full_.isNull() ? Image3->picture() : full_;
}

QImage PictureView::pictureForThumbnail(quint64 rowKey, QSize cell) const
{
    if (decoding_ || request_.rowKey != rowKey || !stillShowing())
        return {};
    const QImage& shown = picture();
    if (shown.isNull())
        return {};
    const bool covers = shown.width() >= cell.width() && shown.height() >= cell.height();
    return covers || shown.size() == natural_ ? shown : QImage();
}

QString PictureView::hint() const
{
    return Image3->toolTip();
}

QSize PictureView::pictureSize() const
{
    return Image3->size();
}

QString PictureView::positionText() const
{
    return Label3->text();
}

} // namespace album
