#include "PictureView.h"

#include "PictureCodec.h"
#include "PictureRecords.h"
#include "skin/Controls.h"
#include "store/Query.h"

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

QSize fitPicture(QSize natural, QSize area)
{
    const qint64 W = natural.width(), H = natural.height();
    const qint64 AW = area.width(), AH = area.height();
    qint64 w = W, h = H;
    const bool wider = AH == 0 ? false : double(W) / double(H) >= double(AW) / double(AH);
    if (wider) {
        if (W > AW) {
            h = AW * H / W;
            w = AW;
        }
    } else if (H > AH) {
        w = W * AH / H;
        h = AH;
    }
    return QSize(int(w), int(h));
}

PictureView::PictureView(QWidget* parent) : QWidget(parent)
{
    paintPanel(this);
    LineImage = new TImage(this);
    ShowImage = new TImage(this, kShowStripColor);
    Label3 = new QLabel(QStringLiteral("0/0  0x0"), ShowImage);
    Label3->setFont(songTi12());
    Label3->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label3->move(8, 4);
    Label3->resize(400, 13);
    PictureArea = new QWidget(this);
    paintPanel(PictureArea);
    PictureArea->resize(214, 90);  // until the pane is first laid out
    Image3 = new PreviewPicture(PictureArea);
    Image3->setGeometry(0, 0, 0, 0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setMovable(false);
    ToolBar1->setStyleSheet(QStringLiteral("QToolBar { background: transparent; border: 0px; }"));
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

void PictureView::showRecord(const store::Query& query)
{
    Image3->clear();
    jpeg_.clear();
    // The record's place and hint first, so that a picture that does not decode still shows
    // which record it is.
    const int position = query.isOpen() ? query.recNo() : -1;
    const int count = query.isOpen() ? query.recordCount() : 0;
    showPlace(position, count, QSize(0, 0));
    Image3->setGeometry(0, 0, 0, 0);
    Image3->setToolTip(query.isOpen() ? query.fieldText(kDescriptionColumn) : QString());
    std::optional<QImage> picture;
    const bool onRecord = query.isOpen() && !query.inserting() && query.currentIndex() >= 0;
    if (onRecord) {
        const QVariant flag = query.field(kFlagColumn);
        const PictureFormat format = formatOfFlag(flag);
        if (format != PictureFormat::None) {
            QByteArray data = query.fieldBytes(kDataColumn);
            picture = decodeRecord(data, flag);
            if (format == PictureFormat::Jpeg)
                jpeg_ = std::move(data);
        }
    }
    const QSize natural = picture ? picture->size() : QSize(0, 0);
    if (picture)
        Image3->setPicture(*picture);
    Image3->setGeometry(QRect(QPoint(0, 0), natural));
    showPlace(position, count, natural);
    if (natural.height() != 0)
        Image3->setGeometry(QRect(QPoint(0, 0), fitPicture(natural, PictureArea->size())));
}

void PictureView::showPlace(int position, int count, QSize natural)
{
    Label3->setText(QStringLiteral("%1/%2  %3x%4")
                        .arg(position)
                        .arg(count)
                        .arg(natural.width())
                        .arg(natural.height()));
}

const QImage& PictureView::picture() const
{
    return Image3->picture();
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
