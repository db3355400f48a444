#include "View.h"

#include "AlbumGrid.h"
#include "AlbumIcons.h"
#include "AlbumPane.h"
#include "PictureCodec.h"
#include "PictureRecords.h"
#include "platform/ProgramFolder.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMenus.h"
#include "store/Query.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <functional>

namespace album {

QImage thumbnailOf(const store::Query& pictureQuery, int row, QSize cell,
                   const ThumbnailPictures& pictures)
{
    const QByteArray data = pictureQuery.bytesAt(row, kDataColumn);
    if (data.isEmpty())
        return pictures.null;
    const std::optional<QImage> picture =
        decodeRecordAtLeast(data, pictureQuery.valueAt(row, kFlagColumn), cell);
    return picture ? *picture : pictures.fail;
}

} // namespace album

namespace {

const QColor kSelectedColor(255, 255, 0);
const QColor kFocusedColor(0, 128, 0);
constexpr int kIndicatorWidth = 11;

// The indicator column: the title row's colour, with an arrow at the current row.
class IndicatorColumn : public QHeaderView {
public:
    IndicatorColumn(QWidget* parent, const QColor& color) : QHeaderView(Qt::Vertical, parent), color_(color)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
        setHighlightSections(false);
    }
    QSize sizeHint() const override { return QSize(kIndicatorWidth, QHeaderView::sizeHint().height()); }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        painter->fillRect(rect, color_);
        painter->setPen(color_.darker(130));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        const QModelIndex current = selectionModel() ? selectionModel()->currentIndex() : QModelIndex();
        if (!current.isValid() || current.row() != logicalIndex)
            return;
        const QPoint centre = rect.center();
        painter->setPen(Qt::NoPen);
        painter->setBrush(Qt::black);
        painter->drawPolygon(QPolygon({centre + QPoint(-2, -4), centre + QPoint(2, 0), centre + QPoint(-2, 4)}));
    }

private:
    QColor color_;
};

// Fills a cell with the grid's colour for its state, then hands it to the window's cell drawing.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    using DrawCell = std::function<void(QPainter&, const QRect&, int column, int row)>;
    ThumbnailDelegate(QObject* parent, DrawCell drawCell)
        : QStyledItemDelegate(parent), drawCell_(std::move(drawCell)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.column() != album::kDataColumn) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QColor background = Qt::white;
        if (option.state & QStyle::State_HasFocus)
            background = kFocusedColor;
        else if (option.state & QStyle::State_Selected)
            background = kSelectedColor;
        painter->fillRect(option.rect, background);
        painter->save();
        drawCell_(*painter, option.rect, index.column(), index.row());
        painter->restore();
    }

private:
    DrawCell drawCell_;
};

QImage themePicture(const QString& path)
{
    QImage picture;
    if (QFileInfo::exists(path))
        picture.load(path);
    return picture;
}

} // namespace

TForm14::TForm14(album::AlbumPane& pane, const platform::ProgramFolder& folder) : pane_(pane)
{
    setWindowTitle(QStringLiteral("缩略图"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    // The main window's close ends the program even while the thumbnails are shown.
    setAttribute(Qt::WA_QuitOnClose, false);
    suiForm1 = new TsuiForm(this);
    suiForm1->setTitleBarButtons({TsuiTitleBarBtnType::suiClose});
    suiForm1->setSizeable(true);
    setMinimumWidth(kMinimumWidth);
    resize(suiForm1->windowSizeFor(QSize(kPanelWidth, kPanelHeight)).expandedTo(QSize(kMinimumWidth, 0)));
    buildGrid();
    suiForm1->layOut();
    layOutGrid();
    PopupMenu1 = new TsuiPopupMenu(this);
    PopupMenu1->addAction(album::albumIcon(12), QStringLiteral("复制图片(&C)"), this, &TForm14::N1Click);
    PopupMenu1->addAction(album::albumIcon(11), QStringLiteral("图片另存为(&S)"), this, &TForm14::N2Click);
    FormCreate(folder);
}

// Bound to the album grid's model and selection; the title row in the album grid's colours.
void TForm14::buildGrid()
{
    suiDBGrid1 = new album::TsuiDBGrid(suiForm1);
    suiDBGrid1->setModel(pane_.gridModel());
    suiDBGrid1->setSelectionModel(pane_.grid()->selectionModel());
    const QColor fixedColor = pane_.grid()->fixedColor();
    suiDBGrid1->setFixedColor(fixedColor);
    // The cell above the indicator column belongs to the title row.
    suiDBGrid1->setStyleSheet(QStringLiteral("QTableCornerButton::section { background: %1; border: 0px;"
                                             " border-right: 1px solid %2; }")
                                  .arg(fixedColor.name(), fixedColor.darker(130).name()));
    auto* indicator = new IndicatorColumn(suiDBGrid1, fixedColor);
    suiDBGrid1->setVerticalHeader(indicator);
    indicator->setDefaultSectionSize(kRowHeight);
    indicator->setMinimumSectionSize(kRowHeight);
    indicator->show();
    suiDBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    suiDBGrid1->setItemDelegate(new ThumbnailDelegate(
        suiDBGrid1, [this](QPainter& canvas, const QRect& cell, int column, int row) {
            suiDBGrid1DrawDataCell(canvas, cell, column, row);
        }));
    QPalette colours = suiDBGrid1->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, QPalette::Highlight, kSelectedColor);
    suiDBGrid1->setPalette(colours);
    suiDBGrid1->viewport()->setCursor(Qt::PointingHandCursor);
    suiDBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(suiDBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(suiDBGrid1->viewport()->mapToGlobal(at));
    });
    // The current record shows here too: its row scrolled into view, the indicator's arrow.
    connect(suiDBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    suiDBGrid1->scrollTo(pane_.gridModel()->index(current.row(), album::kDataColumn));
                suiDBGrid1->verticalHeader()->viewport()->update();
            });
    // A reset (the row count changed) forgets the column set-up.
    connect(pane_.gridModel(), &QAbstractItemModel::modelReset, this, &TForm14::reapplyColumns);
}

void TForm14::FormCreate(const platform::ProgramFolder& folder)
{
    pictures_.null = themePicture(folder.theme(QStringLiteral("Null.bmp")));
    pictures_.fail = themePicture(folder.theme(QStringLiteral("Fail.bmp")));
    reapplyColumns();
    placeAtLowerRight();
}

void TForm14::reapplyColumns()
{
    const int columns = pane_.gridModel()->columnCount();
    for (int column = 0; column < columns; ++column)
        suiDBGrid1->setColumnHidden(column, column != album::kDataColumn);
    suiDBGrid1->setColumnWidth(album::kDataColumn, kThumbnailWidth);
}

// At the screen's lower right: the left edge as far from the screen's right edge as the window is
// wide at the least, the bottom kBottomMargin above the screen's bottom, whatever size it has now.
void TForm14::placeAtLowerRight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect();
    move(area.left() + area.width() - kMinimumWidth, area.top() + area.height() - height() - kBottomMargin);
}

void TForm14::showWindow()
{
    show();
    raise();
    activateWindow();
}

void TForm14::closeWindow()
{
    hide();
    FormClose();
}

void TForm14::closeEvent(QCloseEvent* event)
{
    event->accept();
    hide();
    FormClose();
}

// Back to its place for the next showing; the album's mode marks follow the layout.
void TForm14::FormClose()
{
    placeAtLowerRight();
    pane_.thumbnailWindowClosed();
}

void TForm14::resizeEvent(QResizeEvent*)
{
    layOutGrid();
}

// The grid fills the panel below the title bar.
void TForm14::layOutGrid()
{
    const int top = suiForm1->clientTop();
    suiDBGrid1->setGeometry(0, top, suiForm1->width(), std::max(0, suiForm1->height() - top));
}

// Nothing is kept between paints: each cell reads and decodes its row again. A failure while
// painting is not reported here (the next paint would report it again, without end); the
// preview reports it when the row becomes current.
void TForm14::suiDBGrid1DrawDataCell(QPainter& canvas, const QRect& cell, int column, int row)
{
    if (column != album::kDataColumn)
        return;
    try {
        const QImage picture = album::thumbnailOf(pane_.gridModel()->query(), row,
                                                  QSize(kThumbnailWidth, kRowHeight), pictures_);
        if (!picture.isNull())
            canvas.drawImage(cell, picture);
    } catch (const std::exception&) {
    }
}

void TForm14::N1Click()
{
    pane_.N15Click();
}

void TForm14::N2Click()
{
    pane_.MenuItem11Click();
}
