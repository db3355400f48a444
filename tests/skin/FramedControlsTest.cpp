// The skinned edit boxes, lists, grids, drop-down lists and the status bar: two-colour frames,
// cell colours, the drop-down button, and the style each one follows.
#include "ThemeFileBuilder.h"
#include "SkinnedWindow.h"
#include "skin/Controls.h"
#include "skin/FileTheme.h"

#include <QPainter>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using testing_support::grabbed;
using Window = testing_support::SkinnedWindow;

namespace {

const QColor kBorder(104, 104, 104);
const QColor kBeige(239, 235, 222);

// The outer ring of a control in one colour and the ring inside it in another, on all sides.
void expectTwoColourFrame(QWidget* control, const QColor& outer, const QColor& inner)
{
    const QImage shot = grabbed(control);
    const int w = shot.width(), h = shot.height();
    for (const QPoint& p : {QPoint(w / 2, 0), QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(w / 2, h - 1)})
        EXPECT_EQ(shot.pixelColor(p), outer) << control->metaObject()->className() << " outer " << p.x() << "," << p.y();
    for (const QPoint& p : {QPoint(w / 2, 1), QPoint(1, h / 2), QPoint(w - 2, h / 2), QPoint(w / 2, h - 2)})
        EXPECT_EQ(shot.pixelColor(p), inner) << control->metaObject()->className() << " inner " << p.x() << "," << p.y();
}

QString writeTheme(const QTemporaryDir& folder, TColor border)
{
    const QString path = folder.filePath(QStringLiteral("border.thm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(testing_support::ThemeFileBuilder()
                   .integer("ControlBorderColor", border)
                   .integer("FormBackgroundColor", skin::rgbColor(20, 160, 40))
                   .build());
    return path;
}

} // namespace

TEST(FramedControls, EditMemoAndListShowTheTwoColourFrame)
{
    Window w;
    auto* edit = new TsuiEdit(w.form);
    edit->setGeometry(10, 10, 120, 21);
    auto* memo = new TsuiMemo(w.form);
    memo->setGeometry(10, 40, 200, 100);
    auto* list = new TsuiListView(w.form);
    list->setGeometry(10, 150, 200, 100);
    for (QWidget* control : std::initializer_list<QWidget*>{edit, memo, list})
        expectTwoColourFrame(control, kBorder, Qt::white);

    memo->setColor(kBeige);
    expectTwoColourFrame(memo, kBorder, kBeige);
    edit->setBorderColor(QColor(0, 0, 255));
    expectTwoColourFrame(edit, QColor(0, 0, 255), Qt::white);

    edit->setFrame(false);
    memo->setFrameShape(QFrame::NoFrame);
    EXPECT_NE(grabbed(edit).pixelColor(60, 0), QColor(0, 0, 255)) << "a frameless edit shows no border";
    EXPECT_NE(grabbed(memo).pixelColor(100, 0), kBorder);

    // The list's grid lines in their own light grey.
    QStandardItemModel rows(2, 1);
    list->setModel(&rows);
    const QRect first = list->visualRect(rows.index(0, 0));
    const QImage cells = list->viewport()->grab().toImage();
    EXPECT_EQ(cells.pixelColor(first.center().x(), first.bottom() + 1), QColor(214, 211, 206));
}

TEST(FramedControls, EveryControlFollowsItsThemeAndFallsBackToDeepBlue)
{
    QTemporaryDir folder;
    auto* theme = new TsuiFileTheme;
    theme->setThemeFile(writeTheme(folder, skin::rgbColor(200, 10, 10)));
    ASSERT_TRUE(theme->isOpened());

    Window w;
    auto* edit = new TsuiEdit(w.form);
    auto* memo = new TsuiMemo(w.form);
    auto* list = new TsuiListView(w.form);
    auto* grid = new TsuiDBGrid(w.form);
    auto* combo = new TsuiComboBox(w.form);
    auto* bar = new TsuiProgressBar(w.form);
    auto* box = new TsuiGroupBox(w.form);
    auto* status = new TsuiStatusBar(w.form);
    EXPECT_EQ(edit->UIStyle(), TsuiUIStyle::WinXP) << "the style of the window's frame";
    EXPECT_EQ(status->PanelColor(), kBeige);
    EXPECT_EQ(grid->FixedBGColor(), QColor(198, 211, 239));
    EXPECT_EQ(combo->ButtonColor(), kBeige);

    skin::ApplyStyleToChildren(w.form, TsuiUIStyle::FromThemeFile, theme);
    const QColor red(200, 10, 10);
    EXPECT_EQ(edit->BorderColor(), red);
    EXPECT_EQ(memo->BorderColor(), red);
    EXPECT_EQ(list->BorderColor(), red);
    EXPECT_EQ(grid->BorderColor(), red);
    EXPECT_EQ(combo->BorderColor(), red);
    EXPECT_EQ(bar->BorderColor(), red);
    EXPECT_EQ(box->BorderColor(), red);
    EXPECT_EQ(status->PanelColor(), QColor(20, 160, 40));
    edit->setGeometry(10, 10, 120, 21);
    expectTwoColourFrame(edit, red, Qt::white);

    delete theme;
    for (skin::StyledControl* control :
         std::initializer_list<skin::StyledControl*>{edit, memo, list, grid, combo, bar, box, status}) {
        EXPECT_EQ(control->UIStyle(), TsuiUIStyle::DeepBlue) << typeid(*control).name();
        EXPECT_EQ(control->FileTheme(), nullptr);
    }
    EXPECT_EQ(edit->BorderColor(), QColor(0, 0, 0));
    EXPECT_EQ(grid->BorderColor(), QColor(0, 0, 0));
    EXPECT_EQ(status->PanelColor(), QColor(232, 232, 232));
    expectTwoColourFrame(edit, Qt::black, Qt::white);
}

TEST(Grid, FillsCellsBySelectionAndFocus)
{
    Window w;
    auto* grid = new TsuiDBGrid(w.form);
    EXPECT_EQ(grid->FocusedColor(), QColor(0, 128, 0));
    EXPECT_EQ(grid->SelectedColor(), QColor(255, 255, 0));
    EXPECT_EQ(grid->BGColor(), kBeige);
    EXPECT_EQ(grid->cellColor(false, false), kBeige);
    EXPECT_EQ(grid->cellColor(true, false), QColor(255, 255, 0));
    EXPECT_EQ(grid->cellColor(true, true), QColor(0, 128, 0)) << "focus over selection";
    EXPECT_EQ(grid->cellTextColor(true, false), grid->FontColor()) << "readable on yellow";
    grid->setSelectedColor(QColor(0, 0, 128));
    EXPECT_EQ(grid->cellTextColor(true, false), QColor(Qt::white));

    QStandardItemModel rows(3, 2);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            rows.setItem(r, c, new QStandardItem(QString()));
    grid->setModel(&rows);
    grid->setGeometry(10, 10, 300, 120);
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    grid->setFocus();
    grid->setCurrentIndex(rows.index(1, 1));
    QApplication::processEvents();
    const QImage shot = grabbed(grid);
    auto cellCentre = [&](int row, int column) {
        return grid->viewport()->mapTo(grid, grid->visualRect(rows.index(row, column)).center());
    };
    EXPECT_EQ(shot.pixelColor(cellCentre(0, 0)), kBeige);
    EXPECT_EQ(shot.pixelColor(cellCentre(1, 0)), QColor(0, 0, 128));
    EXPECT_EQ(shot.pixelColor(cellCentre(1, 1)), QColor(0, 128, 0));
    EXPECT_EQ(shot.pixelColor(150, 0), kBorder) << "a one-pixel frame";
    EXPECT_EQ(grid->frameWidth(), 1);
    // The title row: the fixed colour, a darker line closing each title.
    const QHeaderView* titles = grid->horizontalHeader();
    const QPoint titleLeft = titles->mapTo(grid, QPoint(4, titles->height() / 2));
    EXPECT_EQ(shot.pixelColor(titleLeft), grid->FixedBGColor());
    const QPoint titleEnd = titles->mapTo(grid, QPoint(titles->sectionSize(0) - 1, titles->height() / 2));
    EXPECT_EQ(shot.pixelColor(titleEnd).rgb(), grid->FixedBGColor().darker(130).rgb());

    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 40, 18);
    QImage drawn(40, 18, QImage::Format_RGB32);
    bool handled = false;
    grid->setDrawColumnCell([&](QPainter&, const QStyleOptionViewItem&, const QModelIndex&) { handled = true; });
    QPainter painter(&drawn);
    grid->itemDelegate()->paint(&painter, option, rows.index(0, 0));
    EXPECT_TRUE(handled) << "the owner draws after the grid";
}

TEST(ComboBox, FrameAndWinXPButton)
{
    Window w;
    auto* combo = new TsuiComboBox(w.form);
    combo->addItems({QStringLiteral("图片名称"), QStringLiteral("图片描述")});
    combo->setGeometry(10, 10, 120, 22);
    EXPECT_EQ(combo->buttonArea(), QRect(102, 2, 16, 18));
    expectTwoColourFrame(combo, kBorder, Qt::white);
    const QImage shot = grabbed(combo);
    EXPECT_EQ(shot.copy(combo->buttonArea()), skin::skinPicture("WINXP_COMBOBOX_BUTTON"))
        << "the WinXP picture at its own size over the button, no arrow on it";
}

TEST(ComboBox, OtherStylesFillTheButtonAndDrawTheArrow)
{
    Window w;
    auto* combo = new TsuiComboBox(w.form);
    combo->setGeometry(10, 10, 120, 22);
    combo->setUIStyle(TsuiUIStyle::DeepBlue);
    EXPECT_EQ(combo->ButtonColor(), QColor(232, 232, 232));
    const QRect area = combo->buttonArea();
    const QPoint top(area.left() + (area.width() - 6) / 2, area.top() + area.height() / 2);
    QImage shot = grabbed(combo);
    EXPECT_EQ(shot.pixelColor(area.left(), area.top() - 1), QColor(0, 0, 0)) << "line a pixel above";
    EXPECT_EQ(shot.pixelColor(area.left(), area.bottom() + 1), QColor(0, 0, 0)) << "and below";
    EXPECT_EQ(shot.pixelColor(area.left() + 2, area.top() + 2), QColor(232, 232, 232));
    // The triangle: 6, 4 and 2 pixels wide, its top on the middle row.
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(shot.pixelColor(top.x() + row - 1, top.y() + row), QColor(232, 232, 232)) << row;
        for (int x = top.x() + row; x < top.x() + 6 - row; ++x)
            EXPECT_EQ(shot.pixelColor(x, top.y() + row), QColor(Qt::black)) << row << " " << x;
        EXPECT_EQ(shot.pixelColor(top.x() + 6 - row, top.y() + row), QColor(232, 232, 232)) << row;
    }
    EXPECT_EQ(shot.pixelColor(top.x() + 2, top.y() - 1), QColor(232, 232, 232));

    combo->setArrowColor(QColor(255, 0, 0));
    EXPECT_EQ(grabbed(combo).pixelColor(top), QColor(255, 0, 0));
    combo->setEnabled(false);
    shot = grabbed(combo);
    EXPECT_EQ(shot.pixelColor(top), QColor(128, 128, 128));
    EXPECT_EQ(shot.pixelColor(top.x() + 6, top.y() + 1), QColor(Qt::white)) << "the white copy shows right";
}

TEST(StatusBar, HandleOnlyOnASizeableFrameThatIsNotMaximised)
{
    Window w;
    auto* status = new TsuiStatusBar(w.form);
    status->setGeometry(0, 300, 500, 19);
    status->setPanels({{100, QStringLiteral("就绪")}, {0, QStringLiteral("共 3 条")}});
    EXPECT_FALSE(status->showsHandle());
    const QImage without = grabbed(status);
    w.form->setSizeable(true);
    EXPECT_TRUE(status->showsHandle());
    EXPECT_EQ(status->handleRect(), QRect(488, 7, 11, 11));
    EXPECT_NE(grabbed(status), without);

    auto* nested = new TsuiStatusBar(new QWidget(w.form));
    EXPECT_FALSE(nested->showsHandle()) << "only directly on the frame";
    w.form->setMaximized(true);
    EXPECT_FALSE(status->showsHandle()) << "not while maximised";
}

TEST(StatusBar, DraggingTheHandleMovesTheWindowsCorner)
{
    Window w;
    w.window.setGeometry(100, 100, 500, 400);
    w.form->setSizeable(true);
    auto* status = new TsuiStatusBar(w.form);
    status->setGeometry(0, 200, 400, 19);  // away from the frame's own resizing edges
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    const QPoint handle = status->handleRect().center();
    QTest::mousePress(status, Qt::LeftButton, {}, handle);
    const QPoint to = status->mapToGlobal(handle) + QPoint(40, 30);
    QMouseEvent drag(QEvent::MouseMove, status->mapFromGlobal(to), to, Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(status, &drag);
    EXPECT_EQ(status->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseRelease(status, Qt::LeftButton, {}, status->mapFromGlobal(to));
    EXPECT_EQ(w.window.geometry().bottomRight() + QPoint(1, 1), to + QPoint(5, 5))
        << "the corner follows the mouse, 5 pixels beyond it";
}
