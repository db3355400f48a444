#include "AlbumPane.h"

#include "AlbumCommands.h"
#include "AlbumGrid.h"
#include "PictureCodec.h"
#include "PictureRecords.h"
#include "PictureReader.h"
#include "PictureView.h"
#include "skin/Commands.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Statements.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QToolBar>
#include <cassert>

namespace album {

namespace {

constexpr int kToolbarHeight = 25;
constexpr int kStripTop = kToolbarHeight + 1;  // under the 1-pixel line
constexpr int kPreviewGridWidth = 180;
const QColor kFailRowColor(198, 211, 239);
// The grid's title row until the theme's colour is known, and its selected row.
const QColor kGridFixedColor(198, 211, 239);
const QColor kGridSelectedColor(0, 0, 128);

QFont songTi12()
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}

} // namespace

AlbumPane::AlbumPane(QWidget* parent, store::Query& pictureQuery)
    : QWidget(parent), query_(pictureQuery)
{
    buildCommands();
    buildToolbar();
    buildGrid();
    buildPreviewPane();
    const commands::Menus menus = commands::buildMenus(this);
    PopupMenu1 = menus.grid;
    PopupMenu2 = menus.picture;
    PopupMenu3 = menus.sort;
    PopupMenu4 = menus.mode;
    PopupMenu5 = menus.wallpaper;
    commands::fillPictureToolBar(view_->toolBar(), this, PopupMenu5);
    view_->setPictureMenu(PopupMenu2);
    setMarks(AlbumMode::List);
    // The query may outlive the pane or go first (the queries and the panes are destroyed in
    // either order): the handler checks, the pane's destructor never touches the query.
    query_.setAfterScroll([pane = QPointer<AlbumPane>(this)] {
        if (pane)
            pane->ADOQuery2AfterScroll();
    });
    syncGrid();
}

AlbumPane::~AlbumPane() = default;

// The commands that act on the album itself run here; the others are connected by the program.
void AlbumPane::buildCommands()
{
    commands::make(this);
    auto on = [this](const char* id, auto handler) {
        connect(skin::command(this, id), &QAction::triggered, this, handler);
    };
    on(commands::kRefresh, [this] { refresh(); });
    on(commands::kSortButton, [this] { PopupMenu3->popup(menuPosition(4)); });
    on(commands::kModeButton, [this] { PopupMenu4->popup(menuPosition(5)); });
    on(commands::kSortByName, [this] { sortBy(store::columnName(store::kPictureNameColumn)); });
    on(commands::kSortByDescription, [this] { sortBy(store::columnName(store::kPictureDescriptionColumn)); });
    on(commands::kSortByFormat, [this] { sortBy(store::columnName(store::kPictureFlagColumn)); });
    on(commands::kFirst, [this] { step(&store::Query::first); });
    on(commands::kPrior, [this] { step(&store::Query::prior); });
    on(commands::kNext, [this] { step(&store::Query::next); });
    on(commands::kLast, [this] { step(&store::Query::last); });
    for (size_t mode = 0; mode < std::size(commands::kModes); ++mode)
        on(commands::kModes[mode], [this, mode] { switchTo(AlbumMode(mode)); });
    on(commands::kShowThumbnails, [this] { showThumbnailsHere(); });
}

void AlbumPane::buildToolbar()
{
    ToolBar = new skin::ToolbarStrip(this, commands::toolButtons(), this, 2, 22);
    for (size_t i = 0; i < ToolBar->buttonCount(); ++i) {
        TsuiToolButton* button = ToolBar->button(i);
        button->setFont(songTi12());
        button->setIcon(skin::command(this, commands::toolButtons()[i].commandId)->icon());
        button->setIconSize(QSize(12, 12));
    }
    ToolBarLine = new QWidget(this);
    ToolBarLine->setAutoFillBackground(true);
    QPalette colours = ToolBarLine->palette();
    colours.setColor(QPalette::Window, skin::kPanelColor);
    ToolBarLine->setPalette(colours);
}

void AlbumPane::buildGrid()
{
    suiDBGrid1 = new TsuiDBGrid(this);
    suiDBGrid1->setFrameShape(QFrame::NoFrame);
    suiDBGrid1->setFixedBGColor(kGridFixedColor);
    suiDBGrid1->setTitleFontColor(Qt::white);
    suiDBGrid1->setBGColor(Qt::white);
    suiDBGrid1->setSelectedColor(kGridSelectedColor);
    model_ = new PictureTableModel(query_, this);
    suiDBGrid1->setModel(model_);
    applyGridColumns();
    suiDBGrid1->setDrawColumnCell([this](QPainter& canvas, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) { suiDBGrid1DrawColumnCell(canvas, option, index); });
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
    view_ = new PictureView(this);
    view_->hide();
    // A record that does not decode is reported as any failed refresh is, once its decoding
    // has ended; the query and the album stay usable.
    connect(view_, &PictureView::decodeFailed, this, [this](const QString& message) {
        previewFailed_ = true;
        skin::showErrorReport(message);
    });
}

void AlbumPane::loadThemePictures(const QString& themesFolder)
{
    ToolBar->loadFromFile(themesFolder + QStringLiteral("/Top.bmp"));
    view_->loadThemePictures(themesFolder);
}

void AlbumPane::setFixedAreaColor(const QColor& color)
{
    suiDBGrid1->setFixedBGColor(color);
}

// ---- layout ----------------------------------------------------------------------------------

void AlbumPane::layOut()
{
    const int w = width(), h = height();
    ToolBar->setGeometry(0, 0, w, kToolbarHeight);
    ToolBarLine->setGeometry(0, kToolbarHeight, w, 1);
    const int rest = std::max(0, h - kStripTop);
    if (previewLayout_) {
        suiDBGrid1->setGeometry(0, kStripTop, kPreviewGridWidth, rest);
        view_->setGeometry(kPreviewGridWidth, kStripTop, std::max(0, w - kPreviewGridWidth), rest);
        view_->layOut();
    } else {
        suiDBGrid1->setGeometry(0, kStripTop, w, rest);
    }
}

void AlbumPane::resizeEvent(QResizeEvent*)
{
    layOut();
}

QPoint AlbumPane::menuPosition(int buttonIndex) const
{
    const QWidget* mainWindow = window();
    const QPoint pane = mapTo(mainWindow, QPoint(0, 0));
    const QWidget* button = ToolBar->button(size_t(buttonIndex));
    const QPoint buttonAt = button->mapTo(this, QPoint(0, 0));
    return QPoint(mainWindow->x() + pane.x() + buttonAt.x() + 3,
                  mainWindow->y() + pane.y() + buttonAt.y() + 22);
}

QWidget* AlbumPane::previewPane() const
{
    return view_;
}

QWidget* AlbumPane::pictureArea() const
{
    return view_->pictureArea();
}

QLabel* AlbumPane::positionLabel() const
{
    return view_->positionLabel();
}

TsuiToolButton* AlbumPane::toolButton(int index) const
{
    return ToolBar->button(size_t(index));
}

QToolBar* AlbumPane::pictureToolBar() const
{
    return view_->toolBar();
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

// Runs on every move of the picture query. The picture decodes meanwhile on the preview's own
// thread; a record that does not decode ends with the generic error report then.
void AlbumPane::ADOQuery2AfterScroll()
{
    syncGrid();
    if (walking_)
        return;
    previewFailed_ = !skin::guarded([this] { view_->showRecord(query_); });
}

void AlbumPane::waitForPreview()
{
    view_->waitForDecode();
}

bool AlbumPane::previewDecoding() const
{
    return view_->decoding();
}

QImage AlbumPane::pictureForThumbnail(quint64 rowKey, QSize cell) const
{
    return view_->pictureForThumbnail(rowKey, cell);
}

QString AlbumPane::previewHint() const
{
    return view_->hint();
}

QSize AlbumPane::previewSize() const
{
    return view_->pictureSize();
}

QString AlbumPane::positionText() const
{
    return view_->positionText();
}

// ---- the walk --------------------------------------------------------------------------------

// The album refreshed and sorted by name as the user would do it; the sort's step back finds no
// previous row and leaves the first record current. Its picture is shown when the walk ends.
void AlbumPane::restartByName()
{
    walking_ = true;
    reloadAll();
    skin::command(this, commands::kSortByName)->trigger();
    waitForPreview();
}

int AlbumPane::count() const
{
    return query_.isOpen() ? query_.recordCount() : 0;
}

// The picture data only of a record of a format: no other record is ever decoded.
WalkRecord AlbumPane::recordAt(int index, QByteArray reuse) const
{
    const QVariant flag = query_.valueAt(index, kFlagColumn);
    WalkRecord record{query_.valueAt(index, kNameColumn).toString(),
                      query_.valueAt(index, kDescriptionColumn).toString(), flag, {}};
    if (formatOfFlag(flag) != PictureFormat::None) {
        readStoredPicture(index, reuse);
        record.data = std::move(reuse);
    }
    return record;
}

// Through a reader of the walk's own, which neither maps the store nor caches its pages: a walk
// reads each picture once, and the memory it takes stays that of the pictures in hand.
void AlbumPane::readStoredPicture(int index, QByteArray& bytes) const
{
    if (!walkReader_ || walkReader_->storePath() != query_.storePath())
        walkReader_ = std::make_unique<PictureReader>(query_.storePath());
    const std::unique_ptr<PictureBytes> data = walkReader_->open(query_.rowidAt(index));
    if (data)
        data->readAll(bytes);
    else
        bytes.resize(0);  // its memory kept for the next picture
}

void AlbumPane::moveTo(int index)
{
    query_.moveTo(index);
}

void AlbumPane::endWalk()
{
    walking_ = false;
    walkReader_.reset();
    previewFailed_ = false;
    ADOQuery2AfterScroll();
    waitForPreview();  // failed() tells of the last record when the walk has ended
}

QString AlbumPane::name() const
{
    return query_.fieldText(kNameColumn);
}

QString AlbumPane::description() const
{
    return query_.fieldText(kDescriptionColumn);
}

// The picture being decoded is the one asked for: wait for it.
const QImage& AlbumPane::picture() const
{
    view_->waitForDecode();
    return view_->picture();
}

const QByteArray& AlbumPane::jpegData() const
{
    return view_->jpegData();
}

// ---- commands --------------------------------------------------------------------------------

void AlbumPane::refresh()
{
    skin::guarded([this] { reloadAll(); });
}

void AlbumPane::reloadAll()
{
    previewFailed_ = false;
    query_.setStatement(store::statements::allPictures());
    query_.open();
    syncGrid();
    emit reloaded();
}

void AlbumPane::pictureStored()
{
    skin::guarded([this] { query_.next(); });
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

// ---- modes -----------------------------------------------------------------------------------

void AlbumPane::setMarks(AlbumMode mode)
{
    for (size_t i = 0; i < std::size(commands::kModes); ++i)
        skin::command(this, commands::kModes[i])->setChecked(i == size_t(mode));
}

AlbumMode AlbumPane::checkedMode() const
{
    for (size_t i = 0; i < std::size(commands::kModes); ++i)
        if (skin::command(this, commands::kModes[i])->isChecked())
            return AlbumMode(i);
    return AlbumMode::List;
}

void AlbumPane::showList()
{
    view_->hide();
    previewLayout_ = false;
    layOut();
    suiDBGrid1->setColumnHidden(kDescriptionColumn, false);
    suiDBGrid1->setColumnWidth(kDescriptionColumn, 400);
}

void AlbumPane::showPreview()
{
    previewLayout_ = true;
    suiDBGrid1->setColumnHidden(kDescriptionColumn, true);
    view_->show();
    layOut();
}

// The first showing of the preview refreshes it on the current record.
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
    emit thumbnailsCloseRequested();
    thumbnailWindowClosed();
}

void AlbumPane::thumbnailWindowClosed()
{
    setMarks(previewLayout_ ? AlbumMode::Preview : AlbumMode::List);
}

// The layout of the mode, its mark, and the thumbnail window shown (with the main window kept
// in front) or closed.
void AlbumPane::switchTo(AlbumMode mode)
{
    const bool preview = mode == AlbumMode::Preview || mode == AlbumMode::ThumbnailsPreview;
    const bool thumbnails = mode == AlbumMode::ThumbnailsList || mode == AlbumMode::ThumbnailsPreview;
    if (preview)
        showPreview();
    else
        showList();
    setMarks(mode);
    if (preview)
        firstPreviewRefresh();
    if (thumbnails) {
        emit thumbnailsShowRequested();
        emit mainWindowFrontRequested();
    } else {
        closeThumbnails();
    }
}

// The thumbnail window joins whichever layout is shown.
void AlbumPane::showThumbnailsHere()
{
    emit thumbnailsShowRequested();
    setMarks(suiDBGrid1->isColumnHidden(kDescriptionColumn) ? AlbumMode::ThumbnailsPreview
                                                            : AlbumMode::ThumbnailsList);
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
    if (model_->text(index.row(), kNameColumn) != store::kFailName)
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
