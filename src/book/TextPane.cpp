#include "TextPane.h"

#include "platform/Clipboard.h"
#include "skin/Commands.h"
#include "skin/Controls.h"
#include "skin/ToolbarStrip.h"
#include "skin/Messages.h"
#include "skin/TsuiListView.h"
#include "store/Query.h"

#include <QLabel>

namespace book {

namespace {

constexpr int kToolbarHeight = 25;
constexpr int kHeaderHeight = 18;
constexpr int kBar1Width = 60;

const skin::CommandEntry kCommands[] = {
    {"L1", "读取(&L)"}, {"I1", "添加(&I)"}, {"D1", "删除(&D)"},
    {"R1", "刷新(&R)"}, {"S1", "搜索标题(&S)"}, {"C1", "复制标题(&C)"},
};

const skin::StripButton kToolButtons[] = {
    {8, 56, "读取", "读取选定的一篇资料", "L1"},
    {64, 56, "添加", "添加一篇新的资料", "I1"},
    {120, 56, "删除", "删除选定的一篇资料", "D1"},
    {176, 56, "刷新", "显示所有资料", "R1"},
    {232, 80, "搜索标题", "按标题搜索资料", "S1"},
    {312, 80, "复制标题", "复制选定的一篇资料的标题", "C1"},
};
// The theme picture beside each button's caption, in the buttons' order.
const char* const kToolButtonGlyphs[] = {"Read.bmp", "Add.bmp", "Delete.bmp",
                                         "Refresh.bmp", "Search.bmp", "Copy.bmp"};

// A caption of the header strip, width wide: its size is fixed, so that making it measures no
// text before the window shows.
QLabel* whiteLabel(const QString& text, QWidget* parent, int left, int width)
{
    auto* label = new QLabel(text, parent);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
    label->setGeometry(left, 0, width, kHeaderHeight);
    return label;
}

} // namespace

TextPane::TextPane(QWidget* parent, TitleList& titles, store::Query& textQuery,
                   platform::Clipboard& clipboard)
    : QWidget(parent), titles_(titles), textQuery_(textQuery), clipboard_(clipboard)
{
    buildCommands();
    buildToolbar();
    buildHeader();
    buildList();
    buildPopupMenu();
    connect(&titles_, &TitleList::commandsEnabledChanged, this, &TextPane::setCommandsEnabled);
    setCommandsEnabled(titles_.commandsEnabled());
}

void TextPane::buildCommands()
{
    skin::makeCommands(this, kCommands);
    connect(skin::command(this, "L1"), &QAction::triggered, this, &TextPane::readChosen);
    connect(skin::command(this, "I1"), &QAction::triggered, this, &TextPane::addRequested);
    connect(skin::command(this, "D1"), &QAction::triggered, this, &TextPane::deleteChosen);
    connect(skin::command(this, "R1"), &QAction::triggered, this, &TextPane::refresh);
    connect(skin::command(this, "S1"), &QAction::triggered, this, &TextPane::searchRequested);
    connect(skin::command(this, "C1"), &QAction::triggered, this, &TextPane::copyChosenTitle);
}

void TextPane::buildToolbar()
{
    ToolBar = new skin::ToolbarStrip(this, kToolButtons, this, 1, kToolbarHeight - 2);
}

TsuiToolButton* TextPane::toolButton(int index) const
{
    return ToolBar->button(size_t(index));
}

void TextPane::buildHeader()
{
    Bar1Image = new TImage(this, QColor(90, 130, 180));
    Bar2Image = new TImage(this, QColor(90, 130, 180));
    Label1 = whiteLabel(QStringLiteral("序号"), this, 8, 52);
    Label2 = whiteLabel(QStringLiteral("资料标题"), this, 68, 160);
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
    PopupMenu1->addActions({skin::command(this, "L1"), skin::command(this, "I1"), skin::command(this, "D1")});
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({skin::command(this, "R1"), skin::command(this, "S1")});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(skin::command(this, "C1"));
}

void TextPane::loadThemePictures(const QString& themesFolder)
{
    ToolBar->loadFromFile(themesFolder + QStringLiteral("/Top.bmp"));
    Bar1Image->loadFromFile(themesFolder + QStringLiteral("/Bar1.bmp"));
    Bar2Image->loadFromFile(themesFolder + QStringLiteral("/Bar2.bmp"));
    for (size_t i = 0; i < ToolBar->buttonCount(); ++i)
        ToolBar->button(i)->setIcon(skin::loadGlyph(themesFolder + u'/' + QLatin1String(kToolButtonGlyphs[i])));
}

// Reading, deleting and copying need a title; the buttons follow their commands.
void TextPane::setCommandsEnabled(bool enabled)
{
    for (const char* id : {"L1", "D1", "C1"})
        skin::command(this, id)->setEnabled(enabled);
}

void TextPane::layOut()
{
    const int w = width();
    ToolBar->setGeometry(0, 0, w, kToolbarHeight);
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

void TextPane::readChosen()
{
    const int position = titles_.chooseItem();
    if (position >= 0)
        emit readRequested(titles_.title(position));
}

void TextPane::deleteChosen()
{
    const int position = titles_.chooseItem();
    if (position < 0)
        return;
    emit deleteRequested(position, QStringLiteral("确实要删除第 %1 条资料吗？").arg(position + 1));
}

void TextPane::refresh()
{
    skin::guarded([this] { titles_.refresh(textQuery_); });
}

void TextPane::copyChosenTitle()
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
