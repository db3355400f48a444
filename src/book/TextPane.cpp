#include "TextPane.h"

#include "platform/Clipboard.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiListView.h"
#include "store/Query.h"

#include <QLabel>

namespace book {

namespace {

constexpr int kToolbarHeight = 25;
constexpr int kHeaderHeight = 18;
constexpr int kBar1Width = 60;

struct ToolButtonLayout {
    int left;
    int width;
    const char* caption;
    const char* hint;
    const char* glyph;  // theme picture beside the caption
};

constexpr ToolButtonLayout kToolButtons[] = {
    {8, 56, "读取", "读取选定的一篇资料", "Read.bmp"},
    {64, 56, "添加", "添加一篇新的资料", "Add.bmp"},
    {120, 56, "删除", "删除选定的一篇资料", "Delete.bmp"},
    {176, 56, "刷新", "显示所有资料", "Refresh.bmp"},
    {232, 80, "搜索标题", "按标题搜索资料", "Search.bmp"},
    {312, 80, "复制标题", "复制选定的一篇资料的标题", "Copy.bmp"},
};

QLabel* whiteLabel(const QString& text, QWidget* parent, int left)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->move(left, 0);
    label->setFixedHeight(kHeaderHeight);
    label->adjustSize();
    label->setFixedHeight(kHeaderHeight);
    return label;
}

} // namespace

TextPane::TextPane(QWidget* parent, TitleList& titles, store::Query& textQuery,
                   platform::Clipboard& clipboard)
    : QWidget(parent), titles_(titles), textQuery_(textQuery), clipboard_(clipboard)
{
    buildToolbar();
    buildHeader();
    buildList();
    buildPopupMenu();
    connect(&titles_, &TitleList::commandsEnabledChanged, this, &TextPane::setCommandsEnabled);
    setCommandsEnabled(titles_.commandsEnabled());
}

void TextPane::buildToolbar()
{
    ToolBarImage = new TImage(this, QColor(58, 110, 165));
    using Handler = void (TextPane::*)();
    const Handler handlers[] = {&TextPane::ToolButton1Click, &TextPane::ToolButton2Click,
                                &TextPane::ToolButton3Click, &TextPane::ToolButton4Click,
                                &TextPane::ToolButton5Click, &TextPane::ToolButton6Click};
    for (size_t i = 0; i < toolButtons_.size(); ++i) {
        const ToolButtonLayout& place = kToolButtons[i];
        auto* button = new TsuiToolButton(QString::fromUtf8(place.caption), ToolBarImage);
        button->setGeometry(place.left, 1, place.width, kToolbarHeight - 2);
        button->setToolTip(QString::fromUtf8(place.hint));
        connect(button, &QPushButton::clicked, this, handlers[i]);
        toolButtons_[i] = button;
    }
}

void TextPane::buildHeader()
{
    Bar1Image = new TImage(this, QColor(90, 130, 180));
    Bar2Image = new TImage(this, QColor(90, 130, 180));
    Label1 = whiteLabel(QStringLiteral("序号"), this, 8);
    Label2 = whiteLabel(QStringLiteral("资料标题"), this, 68);
}

void TextPane::buildList()
{
    ListView1 = new TsuiListView(this);
    ListView1->setModel(titles_.model());
    ListView1->setSelectionModel(titles_.selection());
    ListView1->setColumnWidths({56, 508});
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QAbstractItemView::doubleClicked, this, &TextPane::ListView1DblClick);
    connect(ListView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at)); });
}

void TextPane::buildPopupMenu()
{
    PopupMenu1 = new TsuiPopupMenu(this);
    L1 = PopupMenu1->addAction(QStringLiteral("读取(&L)"), this, &TextPane::ToolButton1Click);
    I1 = PopupMenu1->addAction(QStringLiteral("添加(&I)"), this, &TextPane::ToolButton2Click);
    D1 = PopupMenu1->addAction(QStringLiteral("删除(&D)"), this, &TextPane::ToolButton3Click);
    PopupMenu1->addSeparator();
    R1 = PopupMenu1->addAction(QStringLiteral("刷新(&R)"), this, &TextPane::ToolButton4Click);
    S1 = PopupMenu1->addAction(QStringLiteral("搜索标题(&S)"), this, &TextPane::ToolButton5Click);
    PopupMenu1->addSeparator();
    C1 = PopupMenu1->addAction(QStringLiteral("复制标题(&C)"), this, &TextPane::ToolButton6Click);
}

void TextPane::loadThemePictures(const QString& themesFolder)
{
    ToolBarImage->loadFromFile(themesFolder + QStringLiteral("/Top.bmp"));
    Bar1Image->loadFromFile(themesFolder + QStringLiteral("/Bar1.bmp"));
    Bar2Image->loadFromFile(themesFolder + QStringLiteral("/Bar2.bmp"));
    for (size_t i = 0; i < toolButtons_.size(); ++i)
        toolButtons_[i]->setIcon(skin::loadGlyph(themesFolder + u'/' + QLatin1String(kToolButtons[i].glyph)));
}

void TextPane::setCommandsEnabled(bool enabled)
{
    for (size_t i : {0u, 2u, 5u})
        toolButtons_[i]->setEnabled(enabled);
    for (QAction* action : {L1, D1, C1})
        action->setEnabled(enabled);
}

void TextPane::layOut()
{
    const int w = width();
    ToolBarImage->setGeometry(0, 0, w, kToolbarHeight);
    Bar1Image->setGeometry(0, kToolbarHeight, kBar1Width, kHeaderHeight);
    Bar2Image->setGeometry(kBar1Width, kToolbarHeight, w - kBar1Width, kHeaderHeight);
    Label1->move(8, kToolbarHeight);
    Label2->move(68, kToolbarHeight);
    Label1->raise();
    Label2->raise();
    const int listTop = kToolbarHeight + kHeaderHeight;
    ListView1->setGeometry(0, listTop, w, height() - listTop);
}

void TextPane::resizeEvent(QResizeEvent*)
{
    layOut();
}

// The list stands at its top after the fill; selecting item k may have scrolled it, so start
// from the top again before moving down by whole rows.
void TextPane::scrollToNewTitle(int k)
{
    ListView1->scrollToTop();
    ListView1->scrollByPixels((k - 15) * TsuiListView::kRowHeight);
}

void TextPane::ToolButton1Click()
{
    const int position = titles_.chooseItem();
    if (position >= 0)
        emit readRequested(titles_.title(position));
}

void TextPane::ToolButton2Click()
{
    emit addRequested();
}

void TextPane::ToolButton3Click()
{
    const int position = titles_.chooseItem();
    if (position < 0)
        return;
    emit deleteRequested(position, QStringLiteral("确实要删除第 %1 条资料吗？").arg(position + 1));
}

void TextPane::ToolButton4Click()
{
    skin::guarded([this] { titles_.refresh(textQuery_); });
}

void TextPane::ToolButton5Click()
{
    emit searchRequested();
}

void TextPane::ToolButton6Click()
{
    const int position = titles_.chooseItem();
    if (position < 0)
        return;
    clipboard_.setText(titles_.title(position));
    emit titleCopied();
}

void TextPane::ListView1DblClick()
{
    const int position = titles_.selectedPosition();
    if (position >= 0)
        emit readRequested(titles_.title(position));
}

} // namespace book
