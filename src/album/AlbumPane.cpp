#include "AlbumPane.h"

#include "AlbumGrid.h"
#include "AlbumIcons.h"
#include "PictureCodec.h"
#include "PictureRecords.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Statements.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>

namespace album {

namespace {

constexpr int kToolbarHeight = 25;
constexpr int kStripTop = kToolbarHeight + 1;  // under the 1-pixel line
constexpr int kPreviewGridWidth = 180;
constexpr int kLineWidth = 6;
constexpr int kShowHeight = 19;
constexpr int kPictureToolBarHeight = 23;
const QColor kFailRowColor(198, 211, 239);

struct ToolButtonLayout {
    int left;
    const char* caption;
    const char* hint;
    int icon;
};

constexpr ToolButtonLayout kToolButtons[] = {
    {8, "添加", "添加一张新的图片", 1},   {64, "删除", "删除选定的一张图片", 2},
    {120, "刷新", "显示所有图片", 3},     {176, "搜索", "按条件搜索图片", 4},
    {232, "排序", "按方式排序图片", 5},   {288, "模式", "按所选模式查看图片", 13},
};

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

// The preview picture: draws the decoded picture stretched to its own size; its pop-up menu is
// the picture menu.
class PreviewPicture : public QWidget {
public:
    PreviewPicture(QWidget* parent, TsuiPopupMenu*& menu) : QWidget(parent), menu_(menu) {}
    void setPicture(const QImage& picture)
    {
        picture_ = picture;
        update();
    }
    void clear() { setPicture(QImage()); }
    const QImage& picture() const { return picture_; }

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
    TsuiPopupMenu*& menu_;
};

AlbumPane::AlbumPane(QWidget* parent, store::Query& pictureQuery)
    : QWidget(parent), query_(pictureQuery)
{
    buildToolbar();
    buildGrid();
    buildPreviewPane();
    buildMenus();
    setMarks(AlbumMode::List);
    // The query may outlive the pane or go first (the main window's query is a member, its
    // panes are children destroyed after the members): the handler checks, the pane's
    // destructor never touches the query.
    query_.setAfterScroll([pane = QPointer<AlbumPane>(this)] {
        if (pane)
            pane->ADOQuery2AfterScroll();
    });
    syncGrid();
}

AlbumPane::~AlbumPane() = default;

void AlbumPane::buildToolbar()
{
    ToolBarImage = new TImage(this, QColor(58, 110, 165));
    ToolBarLine = new QWidget(this);
    paintPanel(ToolBarLine);
    using Handler = void (AlbumPane::*)();
    const Handler handlers[] = {&AlbumPane::MenuItem2Click, &AlbumPane::MenuItem3Click,
                                &AlbumPane::MenuItem5Click, &AlbumPane::MenuItem6Click,
                                &AlbumPane::ToolButton5Click, &AlbumPane::ToolButton6Click};
    for (size_t i = 0; i < toolButtons_.size(); ++i) {
        const ToolButtonLayout& place = kToolButtons[i];
        auto* button = new TsuiToolButton(QString::fromUtf8(place.caption), ToolBarImage);
        button->setGeometry(place.left, 2, 56, 22);
        button->setFont(songTi12());
        button->setIcon(albumIcon(place.icon));
        button->setIconSize(QSize(12, 12));
        button->setToolTip(QString::fromUtf8(place.hint));
        connect(button, &QPushButton::clicked, this, handlers[i]);
        toolButtons_[i] = button;
    }
}

void AlbumPane::buildGrid()
{
    suiDBGrid1 = new TsuiDBGrid(this);
    model_ = new PictureTableModel(query_, this);
    suiDBGrid1->setModel(model_);
    applyGridColumns();
    suiDBGrid1->setItemDelegate(new AlbumGridDelegate(
        suiDBGrid1, [this](QPainter& canvas, const QStyleOptionViewItem& option,
                           const QModelIndex& index) { suiDBGrid1DrawColumnCell(canvas, option, index); }));
    suiDBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(suiDBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(suiDBGrid1->viewport()->mapToGlobal(at));
    });
    // Choosing a row moves the current record; the query's own moves select the row back.
    connect(suiDBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (followingQuery_ || !current.isValid() || !query_.isOpen())
                    return;
                skin::guarded([&] { query_.moveTo(current.row()); });
            });
    // A reset (the row count changed) forgets the column set-up.
    connect(model_, &QAbstractItemModel::modelReset, this, &AlbumPane::applyGridColumns);
}

// The name and the description; the description only in the list layout. The flag, the
// picture data and any later column are the thumbnail window's or nobody's.
void AlbumPane::applyGridColumns()
{
    suiDBGrid1->setColumnWidth(kNameColumn, 149);
    suiDBGrid1->setColumnWidth(kDescriptionColumn, 400);
    suiDBGrid1->setColumnHidden(kDescriptionColumn, previewLayout_);
    for (int column = kFlagColumn; column < model_->columnCount(); ++column)
        suiDBGrid1->setColumnHidden(column, true);
}

void AlbumPane::buildPreviewPane()
{
    PreviewPanel = new QWidget(this);
    paintPanel(PreviewPanel);
    LineImage = new TImage(PreviewPanel);
    ShowImage = new TImage(PreviewPanel, QColor(58, 110, 165));
    Label3 = new QLabel(QStringLiteral("0/0  0x0"), ShowImage);
    Label3->setFont(songTi12());
    Label3->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label3->move(8, 4);
    Label3->resize(400, 13);
    PictureArea = new QWidget(PreviewPanel);
    paintPanel(PictureArea);
    PictureArea->resize(214, 90);  // until the preview pane is first laid out
    Image3 = new PreviewPicture(PictureArea, PopupMenu2);
    Image3->setGeometry(0, 0, 0, 0);
    ToolBar1 = new QToolBar(PreviewPanel);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setMovable(false);
    ToolBar1->setStyleSheet(QStringLiteral("QToolBar { background: transparent; border: 0px; }"));
    PreviewPanel->hide();
}

void AlbumPane::buildMenus()
{
    auto icon = [](int n) { return albumIcon(n); };
    // Grid menu.
    PopupMenu1 = new TsuiPopupMenu(this);
    PopupMenu1->addAction(icon(1), QStringLiteral("添加(&I)"), this, &AlbumPane::MenuItem2Click);
    PopupMenu1->addAction(icon(2), QStringLiteral("删除(&D)"), this, &AlbumPane::MenuItem3Click);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(icon(3), QStringLiteral("刷新(&R)"), this, &AlbumPane::MenuItem5Click);
    PopupMenu1->addAction(icon(4), QStringLiteral("搜索(&S)"), this, &AlbumPane::MenuItem6Click);
    QMenu* sortItems = PopupMenu1->addMenu(icon(5), QStringLiteral("排序(&C)"));
    sortItems->addAction(QStringLiteral("按图片名称(&N)"), this, &AlbumPane::N18Click);
    sortItems->addAction(QStringLiteral("按图片描述(&B)"), this, &AlbumPane::N19Click);
    sortItems->addAction(QStringLiteral("按图片格式(&F)"), this, &AlbumPane::B2Click);
    PopupMenu1->addSeparator();
    QMenu* modeItems = PopupMenu1->addMenu(icon(13), QStringLiteral("模式(&M)"));

    using Handler = void (AlbumPane::*)();
    const Handler modeHandlers[] = {&AlbumPane::N28Click, &AlbumPane::N29Click,
                                    &AlbumPane::N30Click, &AlbumPane::N31Click};
    const QString modeCaptions[] = {QStringLiteral("列表(&L)"), QStringLiteral("预览(&P)"),
                                    QStringLiteral("缩略图+列表(&T)"), QStringLiteral("缩略图+预览(&U)")};
    PopupMenu4 = new TsuiPopupMenu(this);
    for (size_t i = 0; i < 4; ++i) {
        gridModeItems_[i] = modeItems->addAction(modeCaptions[i], this, modeHandlers[i]);
        modeMenuItems_[i] = PopupMenu4->addAction(modeCaptions[i], this, modeHandlers[i]);
        gridModeItems_[i]->setCheckable(true);
        modeMenuItems_[i]->setCheckable(true);
    }

    // Sort menu of the 排序 button.
    PopupMenu3 = new TsuiPopupMenu(this);
    PopupMenu3->addAction(QStringLiteral("按图片名称(&N)"), this, &AlbumPane::N18Click);
    PopupMenu3->addAction(QStringLiteral("按图片描述(&B)"), this, &AlbumPane::N19Click);
    PopupMenu3->addAction(QStringLiteral("按图片格式(&F)"), this, &AlbumPane::B2Click);

    // Wallpaper menu of the wallpaper button.
    const Handler wallpaperHandlers[] = {&AlbumPane::N21Click, &AlbumPane::N22Click,
                                         &AlbumPane::N23Click, &AlbumPane::R2Click};
    const QString wallpaperCaptions[] = {QStringLiteral("居中(&M)"), QStringLiteral("平铺(&T)"),
                                         QStringLiteral("拉伸(&E)"), QStringLiteral("还原(&R)")};
    PopupMenu5 = new TsuiPopupMenu(this);
    for (size_t i = 0; i < 4; ++i)
        PopupMenu5->addAction(wallpaperCaptions[i], this, wallpaperHandlers[i]);

    // Picture menu.
    PopupMenu2 = new TsuiPopupMenu(this);
    PopupMenu2->addAction(icon(15), QStringLiteral("显示缩略图(&A)"), this, &AlbumPane::N27Click);
    QMenu* wallpaperItems = PopupMenu2->addMenu(icon(10), QStringLiteral("设为墙纸(&W)"));
    for (size_t i = 0; i < 4; ++i)
        wallpaperItems->addAction(wallpaperCaptions[i], this, wallpaperHandlers[i]);
    PopupMenu2->addSeparator();
    PopupMenu2->addAction(icon(8), QStringLiteral("第一张图片(&F)"), this, &AlbumPane::MenuItem7Click);
    PopupMenu2->addAction(icon(6), QStringLiteral("上一张图片(&P)"), this, &AlbumPane::MenuItem8Click);
    PopupMenu2->addAction(icon(7), QStringLiteral("下一张图片(&N)"), this, &AlbumPane::MenuItem9Click);
    PopupMenu2->addAction(icon(9), QStringLiteral("末一张图片(&L)"), this, &AlbumPane::L3Click);
    PopupMenu2->addSeparator();
    PopupMenu2->addAction(icon(12), QStringLiteral("复制图片(&C)"), this, &AlbumPane::N15Click);
    PopupMenu2->addAction(icon(11), QStringLiteral("图片另存为(&S)"), this, &AlbumPane::MenuItem11Click);

    // Picture toolbar.
    auto* gap = new QWidget(ToolBar1);
    gap->setFixedWidth(8);
    ToolBar1->addWidget(gap);
    ToolBar1->addAction(icon(15), QString(), this, &AlbumPane::N27Click)->setToolTip(QStringLiteral("显示缩略图"));
    WallpaperButton = new QToolButton(ToolBar1);
    WallpaperButton->setIcon(icon(10));
    WallpaperButton->setToolTip(QStringLiteral("设为墙纸"));
    WallpaperButton->setAutoRaise(true);
    WallpaperButton->setMenu(PopupMenu5);
    WallpaperButton->setPopupMode(QToolButton::InstantPopup);
    ToolBar1->addWidget(WallpaperButton);
    ToolBar1->addSeparator();
    ToolBar1->addAction(icon(8), QString(), this, &AlbumPane::MenuItem7Click)->setToolTip(QStringLiteral("第一张图片"));
    ToolBar1->addAction(icon(6), QString(), this, &AlbumPane::MenuItem8Click)->setToolTip(QStringLiteral("上一张图片"));
    ToolBar1->addAction(icon(7), QString(), this, &AlbumPane::MenuItem9Click)->setToolTip(QStringLiteral("下一张图片"));
    ToolBar1->addAction(icon(9), QString(), this, &AlbumPane::L3Click)->setToolTip(QStringLiteral("末一张图片"));
    ToolBar1->addSeparator();
    ToolBar1->addAction(icon(12), QString(), this, &AlbumPane::N15Click)->setToolTip(QStringLiteral("复制图片到剪贴板"));
    ToolBar1->addAction(icon(11), QString(), this, &AlbumPane::MenuItem11Click)->setToolTip(QStringLiteral("图片另存为"));
}

void AlbumPane::loadThemePictures(const QString& themesFolder)
{
    ToolBarImage->loadFromFile(themesFolder + QStringLiteral("/Top.bmp"));
    LineImage->loadFromFile(themesFolder + QStringLiteral("/Line.bmp"));
    ShowImage->loadFromFile(themesFolder + QStringLiteral("/Show.bmp"));
}

void AlbumPane::setFixedAreaColor(const QColor& color)
{
    suiDBGrid1->setFixedColor(color);
}

// ---- layout ----------------------------------------------------------------------------------

void AlbumPane::layOut()
{
    const int w = width(), h = height();
    ToolBarImage->setGeometry(0, 0, w, kToolbarHeight);
    ToolBarLine->setGeometry(0, kToolbarHeight, w, 1);
    const int rest = std::max(0, h - kStripTop);
    if (previewLayout_) {
        suiDBGrid1->setGeometry(0, kStripTop, kPreviewGridWidth, rest);
        PreviewPanel->setGeometry(kPreviewGridWidth, kStripTop, std::max(0, w - kPreviewGridWidth), rest);
        layOutPreviewPane();
    } else {
        suiDBGrid1->setGeometry(0, kStripTop, w, rest);
    }
}

// The picture area keeps its size while the preview pane is hidden: the fit uses it as it is.
void AlbumPane::layOutPreviewPane()
{
    const int w = PreviewPanel->width(), h = PreviewPanel->height();
    LineImage->setGeometry(0, 0, kLineWidth, h);
    const int inner = std::max(0, w - kLineWidth);
    ShowImage->setGeometry(kLineWidth, 0, inner, kShowHeight);
    PictureArea->setGeometry(kLineWidth, kShowHeight, inner,
                             std::max(0, h - kShowHeight - kPictureToolBarHeight));
    ToolBar1->setGeometry(kLineWidth, std::max(kShowHeight, h - kPictureToolBarHeight), inner,
                          kPictureToolBarHeight);
}

void AlbumPane::resizeEvent(QResizeEvent*)
{
    layOut();
}

QPoint AlbumPane::menuPosition(int buttonIndex) const
{
    const QWidget* mainWindow = window();
    const QPoint pane = mapTo(mainWindow, QPoint(0, 0));
    const QWidget* button = toolButtons_.at(size_t(buttonIndex));
    const QPoint buttonAt = button->mapTo(this, QPoint(0, 0));
    return QPoint(mainWindow->x() + pane.x() + buttonAt.x() + 3,
                  mainWindow->y() + pane.y() + buttonAt.y() + 22);
}

// ---- the after-scroll refresh ----------------------------------------------------------------

void AlbumPane::syncGrid()
{
    model_->sync();
    selectCurrentRow();
}

void AlbumPane::selectCurrentRow()
{
    const int row = query_.isOpen() ? query_.currentIndex() : -1;
    followingQuery_ = true;
    if (row >= 0 && row < model_->rowCount()) {
        const QModelIndex index = model_->index(row, 0);
        suiDBGrid1->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        suiDBGrid1->scrollTo(index);
    } else {
        suiDBGrid1->selectionModel()->clear();
    }
    followingQuery_ = false;
}

// Runs on every move of the picture query. A record that does not decode ends the refresh with
// the generic error report (the preview stays empty); the query and the album stay usable.
void AlbumPane::ADOQuery2AfterScroll()
{
    syncGrid();
    previewFailed_ = !skin::guarded([this] { refreshPreview(); });
}

void AlbumPane::refreshPreview()
{
    // 1-2. Clear the preview picture, then decode the current record into it. Myimage is read
    // only for a BMP or JPEG record.
    Image3->clear();
    previewJpeg_.clear();
    std::optional<QImage> picture;
    const bool onRecord = query_.isOpen() && !query_.inserting() && query_.currentIndex() >= 0;
    if (onRecord) {
        const QVariant flag = query_.field(kFlagColumn);
        const PictureFormat format = formatOfFlag(flag);
        if (format != PictureFormat::None) {
            QByteArray data = query_.fieldBytes(kDataColumn);
            picture = decodeRecord(data, flag);
            if (format == PictureFormat::Jpeg)
                previewJpeg_ = std::move(data);
        }
    }
    // 3. The natural size, or 0 by 0.
    const int width = picture ? picture->width() : 0;
    const int height = picture ? picture->height() : 0;
    if (picture)
        Image3->setPicture(*picture);
    Image3->setGeometry(0, 0, width, height);
    // 4. The description as the tooltip.
    Image3->setToolTip(query_.isOpen() ? query_.fieldText(kDescriptionColumn) : QString());
    // 5. The position label.
    const int position = query_.isOpen() ? query_.recNo() : -1;
    const int count = query_.isOpen() ? query_.recordCount() : 0;
    Label3->setText(QStringLiteral("%1/%2  %3x%4").arg(position).arg(count).arg(width).arg(height));
    // 6. The fit.
    if (height != 0)
        fitPreview(width, height);
    // 7. Nothing to release: the bytes go with this frame.
}

// Only reduced, never enlarged; products before the division, which truncates; the picture
// stays at the top-left corner of the picture area.
void AlbumPane::fitPreview(int width, int height)
{
    const qint64 W = width, H = height;
    const qint64 AW = PictureArea->width(), AH = PictureArea->height();
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
    Image3->setGeometry(0, 0, int(w), int(h));
}

const QImage& AlbumPane::previewPicture() const
{
    return Image3->picture();
}

QString AlbumPane::previewHint() const
{
    return Image3->toolTip();
}

QSize AlbumPane::previewSize() const
{
    return Image3->size();
}

QString AlbumPane::positionText() const
{
    return Label3->text();
}

// ---- commands --------------------------------------------------------------------------------

void AlbumPane::MenuItem2Click()
{
    emit addRequested();
}

void AlbumPane::MenuItem3Click()
{
    emit deleteRequested();
}

void AlbumPane::MenuItem5Click()
{
    skin::guarded([this] { reloadAll(); });
}

void AlbumPane::reloadAll()
{
    previewFailed_ = false;
    query_.setStatement(store::statements::allPictures());
    query_.open();
    syncGrid();
    if (hooks_.reapplyColumns)
        hooks_.reapplyColumns();
}

void AlbumPane::MenuItem6Click()
{
    emit searchRequested();
}

void AlbumPane::ToolButton5Click()
{
    PopupMenu3->popup(menuPosition(4));
}

void AlbumPane::ToolButton6Click()
{
    PopupMenu4->popup(menuPosition(5));
}

// The order is applied with the first row of the new order current, then the step back finds
// no previous row there and refreshes the preview on it (the album export relies on this).
void AlbumPane::sortBy(const QString& column)
{
    skin::guarded([&] {
        if (!query_.isOpen())
            return;
        query_.sort(column, store::Query::AfterSort::First);
        query_.prior();
    });
}

void AlbumPane::N18Click()
{
    sortBy(QStringLiteral("图片名称"));
}

void AlbumPane::N19Click()
{
    sortBy(QStringLiteral("图片描述"));
}

void AlbumPane::B2Click()
{
    sortBy(QStringLiteral("Isbmp"));
}

// The query and the move are captured by value: GCC 12 with its sanitizers resolves a
// pointer-to-member call on a member reached through a [&]-captured this to the wrong object.
void AlbumPane::step(void (store::Query::*move)())
{
    store::Query* query = &query_;
    skin::guarded([query, move] {
        if (query->isOpen())
            (query->*move)();
    });
}

void AlbumPane::MenuItem7Click()
{
    step(&store::Query::first);
}

void AlbumPane::MenuItem8Click()
{
    step(&store::Query::prior);
}

void AlbumPane::MenuItem9Click()
{
    step(&store::Query::next);
}

void AlbumPane::L3Click()
{
    step(&store::Query::last);
}

void AlbumPane::N15Click()
{
    emit copyRequested();
}

void AlbumPane::MenuItem11Click()
{
    emit saveAsRequested();
}

void AlbumPane::N21Click()
{
    emit wallpaperRequested(WallpaperStyle::Center);
}

void AlbumPane::N22Click()
{
    emit wallpaperRequested(WallpaperStyle::Tile);
}

void AlbumPane::N23Click()
{
    emit wallpaperRequested(WallpaperStyle::Stretch);
}

void AlbumPane::R2Click()
{
    emit wallpaperRequested(WallpaperStyle::Restore);
}

// ---- modes -----------------------------------------------------------------------------------

void AlbumPane::setMarks(AlbumMode mode)
{
    for (size_t i = 0; i < 4; ++i) {
        const bool checked = i == size_t(mode);
        gridModeItems_[i]->setChecked(checked);
        modeMenuItems_[i]->setChecked(checked);
    }
}

AlbumMode AlbumPane::checkedMode() const
{
    for (size_t i = 0; i < 4; ++i)
        if (gridModeItems_[i]->isChecked())
            return AlbumMode(i);
    return AlbumMode::List;
}

void AlbumPane::showList()
{
    PreviewPanel->hide();
    previewLayout_ = false;
    layOut();
    suiDBGrid1->setColumnHidden(1, false);
    suiDBGrid1->setColumnWidth(1, 400);
}

void AlbumPane::showPreview()
{
    previewLayout_ = true;
    suiDBGrid1->setColumnHidden(1, true);
    PreviewPanel->show();
    layOut();
}

void AlbumPane::firstPreviewRefresh()
{
    if (firstPreviewDone_)
        return;
    skin::guarded([this] {
        if (query_.isOpen()) {
            if (query_.recNo() == 1) {
                query_.first();
            } else {
                query_.prior();
                query_.next();
            }
        }
    });
    firstPreviewDone_ = true;
}

void AlbumPane::closeThumbnails()
{
    if (hooks_.close)
        hooks_.close();
    thumbnailWindowClosed();
}

void AlbumPane::showThumbnails()
{
    if (hooks_.show)
        hooks_.show();
}

void AlbumPane::thumbnailWindowClosed()
{
    setMarks(previewLayout_ ? AlbumMode::Preview : AlbumMode::List);
}

void AlbumPane::N28Click()
{
    showList();
    setMarks(AlbumMode::List);
    closeThumbnails();
}

void AlbumPane::N29Click()
{
    showPreview();
    setMarks(AlbumMode::Preview);
    firstPreviewRefresh();
    closeThumbnails();
}

void AlbumPane::N30Click()
{
    showList();
    setMarks(AlbumMode::ThumbnailsList);
    showThumbnails();
    if (hooks_.bringMainWindowToFront)
        hooks_.bringMainWindowToFront();
}

void AlbumPane::N31Click()
{
    showPreview();
    setMarks(AlbumMode::ThumbnailsPreview);
    firstPreviewRefresh();
    showThumbnails();
    if (hooks_.bringMainWindowToFront)
        hooks_.bringMainWindowToFront();
}

void AlbumPane::N27Click()
{
    showThumbnails();
    setMarks(suiDBGrid1->isColumnHidden(1) ? AlbumMode::ThumbnailsPreview : AlbumMode::ThumbnailsList);
}

void AlbumPane::categoryChanged(bool albumShown)
{
    if (albumShown)
        suiDBGrid1->setFocus();
    else
        closeThumbnails();
}

// ---- row painting ----------------------------------------------------------------------------

void AlbumPane::suiDBGrid1DrawColumnCell(QPainter& canvas, const QStyleOptionViewItem& option,
                                         const QModelIndex& index)
{
    if (model_->text(index.row(), 0) != QLatin1String("Fail"))
        return;
    canvas.fillRect(option.rect, kFailRowColor);
    canvas.setFont(TsuiDBGrid::gridFont());
    canvas.setPen(option.state & QStyle::State_Selected ? Qt::white : Qt::black);
    // The 2-pixel margin at the left; vertically where the grid's own drawing puts the text
    // (a CJK font is taller than the 12 pixels, so a 2-pixel top margin would cut it off).
    canvas.drawText(option.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    model_->text(index.row(), index.column()));
}

} // namespace album
