// The materials-book windows wired to the store and the title list: add, delete, search, the
// reading window with its prompts and settings file.
#include "support/Commands.h"
#include "support/ProgramFolder.h"

#include "book/Confirm.h"
#include "book/Delete.h"
#include "book/EntryRows.h"
#include "skin/TsuiFontComboBox.h"
#include "book/Insert.h"
#include "book/Load.h"
#include "book/ReadingFont.h"
#include "book/Save.h"
#include "book/Search.h"
#include "book/TextPane.h"
#include "text/TextFile.h"
#include "platform/Clipboard.h"
#include "platform/FileChooser.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using testing_support::ProgramFolder;

namespace {

// Presses a button of the next modal window once it is up.
void pressInNextModal(std::function<QAbstractButton*(QWidget*)> pick)
{
    QTimer::singleShot(0, [pick] {
        if (QWidget* modal = QApplication::activeModalWidget())
            pick(modal)->click();
    });
}

class BookWindowsTest : public ::testing::Test {
protected:
    BookWindowsTest() : pane(nullptr, titles, query, clipboard)
    {
        query.setStorePath(folder.storePath());
        pane.resize(586, 431);
    }
    void add(const QString& title, const QStringList& lines)
    {
        testing_support::addEntry(folder.storePath(), title, lines);
    }
    QStringList linesOf(const QString& title)
    {
        store::Query reader;
        reader.setStorePath(folder.storePath());
        return book::readEntry(reader, title);
    }
    QStringList texts() const
    {
        QStringList all;
        for (const auto& message : messages.messages)
            all << message.text;
        return all;
    }
    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    ProgramFolder folder;
    skin::RecordingSink messages;
    store::Query query;
    book::TitleList titles;
    platform::FakeClipboard clipboard;
    book::TextPane pane;
};

TEST_F(BookWindowsTest, AddChecksTitleTextAndDuplicateInThatOrder)
{
    add("Notes", {"x"});
    titles.refresh(query);
    TForm2 form(nullptr, titles, query);
    QObject::connect(&form, &TForm2::entryAdded, &pane, &book::TextPane::scrollToNewTitle);
    form.titleEdit()->setText("   ");
    form.editor()->setPlainText("text");
    testing_support::click(form, "suiButton3");
    form.titleEdit()->setText(" T ");
    form.editor()->setPlainText("");
    testing_support::click(form, "suiButton3");
    form.titleEdit()->setText(" NOTES ");
    form.editor()->setPlainText("new text");
    testing_support::click(form, "suiButton3");
    EXPECT_EQ(texts(), (QStringList{"请输入资料的标题！", "请输入资料的内容！", "该资料的标题已存在！"}));
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::Warning);
    EXPECT_EQ(form.editor()->toPlainText(), "new text");  // kept as typed
    EXPECT_EQ(linesOf("Notes"), QStringList{"x"});
}

TEST_F(BookWindowsTest, AddWritesTheTrimmedTitleShowsItAndEmptiesTheDialog)
{
    for (int i = 0; i < 40; ++i)
        add(QStringLiteral("t%1").arg(i, 2, 10, QChar(u'0')), {"x"});
    titles.refresh(query);
    TForm2 form(nullptr, titles, query);
    QObject::connect(&form, &TForm2::entryAdded, &pane, &book::TextPane::scrollToNewTitle);
    form.titleEdit()->setText("  t29x \t");
    form.editor()->setPlainText("第一行\n\n第三行\n");
    testing_support::click(form, "suiButton3");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(linesOf("t29x"), (QStringList{"第一行", "", "第三行"}));
    EXPECT_EQ(titles.count(), 41);
    EXPECT_EQ(titles.title(titles.selectedPosition()), "t29x");
    EXPECT_TRUE(form.titleEdit()->text().isEmpty());
    EXPECT_TRUE(form.editor()->toPlainText().isEmpty());
    EXPECT_TRUE(form.progressBar()->isHidden());
}

TEST_F(BookWindowsTest, AddAcceptsASingleLineBreakAsOneEmptyLine)
{
    TForm2 form(nullptr, titles, query);
    QObject::connect(&form, &TForm2::entryAdded, &pane, &book::TextPane::scrollToNewTitle);
    form.titleEdit()->setText("blank");
    form.editor()->setPlainText("\n");
    testing_support::click(form, "suiButton3");
    EXPECT_EQ(linesOf("blank"), QStringList{""});
}

TEST_F(BookWindowsTest, AddBrowsesATextFileForTitleAndText)
{
    writeFile(folder.file("读书笔记.txt"), textfile::encode(QStringLiteral("甲\r乙\n丙\r\n")));
    TForm2 form(nullptr, titles, query);
    QObject::connect(&form, &TForm2::entryAdded, &pane, &book::TextPane::scrollToNewTitle);
    platform::FakeFileChooser files;
    files.answers = {folder.file("读书笔记.txt"), folder.file("gone.txt")};
    form.setFileChooser(files);
    testing_support::click(form, "suiButton1");
    EXPECT_EQ(form.titleEdit()->text(), "读书笔记");
    EXPECT_EQ(form.editor()->toPlainText(), "甲\n乙\n丙\n");
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].kind, platform::FileQuestion::Kind::Open);
    EXPECT_EQ(files.asked[0].owner, &form);
    EXPECT_EQ(files.asked[0].filter, "文本文档 (*.txt)");

    testing_support::click(form, "suiButton1");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::ErrorReport);
    EXPECT_EQ(form.editor()->toPlainText(), "甲\n乙\n丙\n");
}

TEST_F(BookWindowsTest, AddKeepsTheWrapModeAcrossOpenings)
{
    TForm2 form(nullptr, titles, query);
    QObject::connect(&form, &TForm2::entryAdded, &pane, &book::TextPane::scrollToNewTitle);
    EXPECT_EQ(form.wrapToggle()->text(), "不换行(&W)");
    testing_support::click(form, "suiButton2");
    EXPECT_EQ(form.wrapToggle()->text(), "换行(&W)");
    EXPECT_EQ(form.editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    form.titleEdit()->setText("t");
    form.editor()->setPlainText("a");
    testing_support::click(form, "suiButton3");
    EXPECT_EQ(form.editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(form.wrapToggle()->text(), "换行(&W)");
}

TEST_F(BookWindowsTest, DeleteRemovesEveryRowAndTheItemWithoutRefilling)
{
    for (const char* title : {"a", "b", "c", "d", "e", "f", "g"})
        add(title, {"1", "2"});
    titles.refresh(query);
    add("zz-not-listed", {"1"});
    TForm3 form(nullptr, titles, query);
    form.prepare(2, "确实要删除第 3 条资料吗？");
    EXPECT_EQ(form.question(), "确实要删除第 3 条资料吗？");
    testing_support::click(form, "suiButton1");
    EXPECT_TRUE(linesOf("c").isEmpty());
    EXPECT_EQ(titles.count(), 6);
    EXPECT_EQ(titles.title(2), "d");
    EXPECT_EQ(titles.selectedPosition(), 2);
    EXPECT_TRUE(form.progressBar()->isHidden());
}

TEST_F(BookWindowsTest, EnterRightAfterOpeningAnswersNo)
{
    add("keep", {"1"});
    titles.refresh(query);
    TForm3 deleteDialog(nullptr, titles, query);
    deleteDialog.prepare(0, "确实要删除第 1 条资料吗？");
    TForm6 overwriteDialog(nullptr);
    bool wrote = false;
    overwriteDialog.setWriter("资料", [&](const QString&) { wrote = true; });
    TForm13 saveDialog(nullptr);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&deleteDialog, &overwriteDialog, &saveDialog}) {
        QTimer::singleShot(0, [dialog] {
            QApplication::setActiveWindow(dialog);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        if (dialog == &saveDialog)
            EXPECT_EQ(saveDialog.ask(), TForm13::Answer::No);
        else if (dialog == &overwriteDialog)
            overwriteDialog.confirm(folder.file("x.txt"), "资料");
        else
            EXPECT_EQ(dialog->exec(), QDialog::Rejected);
    }
    EXPECT_EQ(linesOf("keep"), QStringList{"1"});
    EXPECT_EQ(titles.count(), 1);
    EXPECT_FALSE(wrote);
}

TEST_F(BookWindowsTest, SearchIsFuzzyOrExactAndTakesTheTextAsTyped)
{
    for (const char* title : {"工作计划", "计划", "Plan A", "会议"})
        add(title, {"x"});
    TForm4 form(nullptr, titles, query);
    EXPECT_TRUE(form.fuzzyCheck()->isChecked());
    EXPECT_TRUE(form.okButton()->isDefault());
    form.searchEdit()->setText("计划");
    testing_support::click(form, "suiButton1");
    EXPECT_EQ(titles.count(), 2);
    form.searchEdit()->setText("plan");
    testing_support::click(form, "suiButton1");
    EXPECT_EQ(titles.count(), 1);

    form.fuzzyCheck()->setChecked(false);
    form.searchEdit()->setText(" 计划");  // not trimmed: no match
    testing_support::click(form, "suiButton1");
    EXPECT_EQ(titles.count(), 0);
    EXPECT_FALSE(titles.commandsEnabled());
    form.searchEdit()->setText("计划");
    testing_support::click(form, "suiButton1");
    EXPECT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.selectedPosition(), 0);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(form.searchEdit()->text(), "计划");  // kept for the next opening
}

TEST_F(BookWindowsTest, EmptyFuzzySearchListsEverything)
{
    add("a", {"x"});
    add("b", {"x"});
    TForm4 form(nullptr, titles, query);
    testing_support::click(form, "suiButton1");
    EXPECT_EQ(titles.count(), 2);
}

class ReadingWindowTest : public BookWindowsTest {
protected:
    ReadingWindowTest() : form(nullptr, query, folder.program()), overwrite(nullptr), saveChanges(nullptr)
    {
        overwrite.setWriter(QStringLiteral("资料"), [this](const QString& path) { form.writeEditorText(path); });
        form.setPrompts(&overwrite, &saveChanges);
    }
    TForm5 form;
    TForm6 overwrite;
    TForm13 saveChanges;
};

TEST_F(ReadingWindowTest, FrameIsSizeableWithCloseAndMaximiseAndFollowsTheCaption)
{
    EXPECT_EQ(form.size(), QSize(536, 360));
    auto* frame = form.findChild<TsuiForm*>();
    ASSERT_NE(frame, nullptr);
    form.show();
    EXPECT_EQ(frame->size(), QSize(530, 357));
    EXPECT_GE(form.editor()->mapTo(&form, QPoint(0, 0)).y(), 29 + 36);  // below bar and buttons
    form.hide();
    EXPECT_TRUE(frame->Sizeable());
    ASSERT_EQ(frame->titleBar()->buttonCount(), 2);
    EXPECT_EQ(frame->titleBar()->button(0).ButtonType, TsuiTitleBarBtnType::suiClose);
    EXPECT_EQ(frame->titleBar()->button(1).ButtonType, TsuiTitleBarBtnType::suiMax);
    add("日记", {"a"});
    form.prepareEntry("日记");
    EXPECT_EQ(frame->Caption(), "读取《日记》");
}

TEST_F(ReadingWindowTest, OpeningShowsTheEntryUnmodifiedAndAnEditEnablesSave)
{
    add("日记", {"a", "", "c"});
    form.prepareEntry("日记");
    EXPECT_EQ(form.windowTitle(), "读取《日记》");
    EXPECT_EQ(form.editor()->toPlainText(), "a\n\nc\n");
    form.show();
    EXPECT_EQ(form.focusWidget(), form.editor());  // typing goes to the editor
    EXPECT_FALSE(form.saveButton()->isEnabled());
    EXPECT_FALSE(form.modified());
    form.editor()->insertPlainText("x");
    EXPECT_TRUE(form.saveButton()->isEnabled());
    EXPECT_TRUE(form.modified());
}

TEST_F(ReadingWindowTest, SaveReplacesTheRowsOrRefusesAnEmptyEditor)
{
    add("日记", {"1", "2", "3", "4"});
    form.prepareEntry("日记");
    form.editor()->setPlainText("");
    testing_support::click(form, "suiButton2");
    EXPECT_EQ(linesOf("日记").size(), 4);
    form.editor()->setPlainText("new\nlines");
    testing_support::click(form, "suiButton2");
    EXPECT_EQ(linesOf("日记"), (QStringList{"new", "lines"}));
    EXPECT_EQ(texts(), (QStringList{"本篇资料不能修改为空内容！", "已成功保存对本篇资料的修改！"}));
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::Warning);
    EXPECT_EQ(messages.messages[1].kind, skin::MessageKind::Information);
    EXPECT_FALSE(form.modified());
    EXPECT_FALSE(form.saveButton()->isEnabled());
    EXPECT_TRUE(form.progressBar()->isHidden());
}

TEST_F(ReadingWindowTest, SaveAsAddsTxtUnlessTheNameEndsInOneOfItsTwoCases)
{
    EXPECT_EQ(TForm5::textFilePath("/d/note"), "/d/note.txt");
    EXPECT_EQ(TForm5::textFilePath("/d/note.txt"), "/d/note.txt");
    EXPECT_EQ(TForm5::textFilePath("/d/note.TXT"), "/d/note.TXT");
    EXPECT_EQ(TForm5::textFilePath("/d/note.Txt"), "/d/note.Txt.txt");
    EXPECT_EQ(TForm5::textFilePath("/d.txt/note"), "/d.txt/note.txt");
}

TEST_F(ReadingWindowTest, SaveAsWritesGb18030WithCrLfAndAsksBeforeOverwriting)
{
    add("t", {"第一行", "€ and 𠀀"});
    form.prepareEntry("t");
    platform::FakeFileChooser files;
    files.answers = {folder.file("out"), folder.file("out"), folder.file("out")};
    form.setFileChooser(files);
    testing_support::click(form, "suiButton3");
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].kind, platform::FileQuestion::Kind::Save);
    EXPECT_EQ(files.asked[0].caption, "另存为");
    const QByteArray written = testing_support::readBytes(folder.file("out.txt"));
    EXPECT_EQ(written, textfile::encode(QStringLiteral("第一行\r\n€ and 𠀀\r\n")));
    EXPECT_EQ(textfile::decodeUserFile(written), QStringLiteral("第一行\r\n€ and 𠀀\r\n"));

    form.editor()->setPlainText("changed");
    pressInNextModal([](QWidget* modal) { return static_cast<TForm6*>(modal)->noButton(); });
    testing_support::click(form, "suiButton3");
    EXPECT_EQ(testing_support::readBytes(folder.file("out.txt")), written);
    EXPECT_EQ(overwrite.path(), folder.file("out.txt"));
    EXPECT_EQ(overwrite.kind(), "资料");

    pressInNextModal([](QWidget* modal) { return static_cast<TForm6*>(modal)->yesButton(); });
    testing_support::click(form, "suiButton3");
    EXPECT_EQ(testing_support::readBytes(folder.file("out.txt")), QByteArray("changed"));
}

TEST_F(ReadingWindowTest, ClosingWithEditsAsksAndActsOnTheAnswer)
{
    add("t", {"old"});
    form.prepareEntry("t");
    form.show();
    form.editor()->setPlainText("edited");

    pressInNextModal([](QWidget* modal) { return static_cast<TForm13*>(modal)->cancelButton(); });
    testing_support::click(form, "suiButton5");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.editor()->toPlainText(), "edited");

    pressInNextModal([](QWidget* modal) { return static_cast<TForm13*>(modal)->yesButton(); });
    testing_support::click(form, "suiButton5");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(linesOf("t"), QStringList{"edited"});

    form.prepareEntry("t");
    form.show();
    form.editor()->setPlainText("dropped");
    pressInNextModal([](QWidget* modal) { return static_cast<TForm13*>(modal)->noButton(); });
    testing_support::click(form, "suiButton5");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(linesOf("t"), QStringList{"edited"});
}

TEST_F(ReadingWindowTest, SaveChangesPromptClosedByItsFrameAnswersCancel)
{
    QTimer::singleShot(0, [this] { saveChanges.close(); });
    EXPECT_EQ(saveChanges.ask(), TForm13::Answer::Cancel);
}

TEST_F(ReadingWindowTest, SettingsFileIsWrittenFromThePickersAndReadByLinePosition)
{
    EXPECT_EQ(form.settingsLines(), (QStringList{"[Font]", "FontName=宋体", "FontSize=9"}));
    EXPECT_EQ(form.fontSizePicker()->count(), 16);
    form.fontNamePicker()->setFontName("DejaVu Sans");
    form.fontSizePicker()->setFontSize(14);
    form.writeSettings(folder.file("quillo.ini"));
    EXPECT_EQ(testing_support::readBytes(folder.file("quillo.ini")),
              QByteArray("[Font]\r\nFontName=DejaVu Sans\r\nFontSize=14\r\n"));

    TForm5 next(nullptr, query, folder.program());
    EXPECT_EQ(next.fontNamePicker()->fontName(), "DejaVu Sans");
    EXPECT_EQ(next.fontSizePicker()->fontSize(), 14);
    EXPECT_EQ(next.editor()->font().family(), "DejaVu Sans");
    EXPECT_EQ(next.editor()->font().pointSize(), 14);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ReadingWindowTest, SettingsWithoutANumberReportTheErrorAndKeepTheFont)
{
    writeFile(folder.file("quillo.ini"), "[Font]\r\nxxxxxxxxxDejaVu Sans\r\nFontSize=big\r\n");
    TForm5 next(nullptr, query, folder.program());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::ErrorReport);
    EXPECT_EQ(messages.messages[0].text,
              QStringLiteral("设置文件 %1 中的字号“big”不是有效的整数。").arg(folder.file("quillo.ini")));
    EXPECT_EQ(next.fontNamePicker()->fontName(), "DejaVu Sans");  // line 2 was taken already
    EXPECT_EQ(next.editor()->font().pointSize(), 9);

    writeFile(folder.file("quillo.ini"), "");
    TForm5 empty(nullptr, query, folder.program());
    EXPECT_EQ(empty.settingsLines(), (QStringList{"[Font]", "FontName=宋体", "FontSize=9"}));
    EXPECT_EQ(messages.messages.size(), 1u);
}

// The font read at start without the window is the one the window's pickers would show, so the
// settings written at the end do not depend on whether the window was ever opened.
TEST_F(ReadingWindowTest, TheFontReadWithoutTheWindowIsTheOneThePickersShow)
{
    const QByteArray files[] = {
        "[Font]\r\nFontName=dejavu SANS\r\nFontSize=14\r\n",  // another letter case
        "[Font]\r\nFontName=DejaVu Sans\r\nFontSize=13\r\n",  // a size the family does not list
        "[Font]\r\nFontName=没有这种字体\r\nFontSize=12\r\n",
        "[Font]\r\nFontName=DejaVu Serif\r\nFontSize=big\r\n",  // broken off after the name
        "[Font]\r\n", ""};
    for (const QByteArray& file : files) {
        writeFile(folder.file("quillo.ini"), file);
        const book::ReadingFont read = book::loadReadingFont(folder.file("quillo.ini"));
        const size_t reported = messages.messages.size();
        TForm5 window(nullptr, query, folder.program());
        EXPECT_EQ(messages.messages.size(), 2 * reported) << file.constData();
        EXPECT_EQ(window.settingsLines(), read.settingsLines()) << file.constData();
        TForm5 fromRead(nullptr, query, read);
        EXPECT_EQ(fromRead.settingsLines(), read.settingsLines()) << file.constData();
        EXPECT_EQ(fromRead.editor()->font(), window.editor()->font()) << file.constData();
        messages.messages.clear();
    }
}

// Random bytes in the settings file's place: at most one report, the defaults where nothing
// readable stands, and the file itself untouched.
TEST_F(ReadingWindowTest, ASettingsFileOfRandomBytesLeavesTheDefaultsAndTheFile)
{
    QByteArray noise(4096, Qt::Uninitialized);
    quint32 seed = 20261209;
    for (char& byte : noise) {
        seed = seed * 1664525u + 1013904223u;
        byte = char(seed >> 24);
    }
    writeFile(folder.file("quillo.ini"), noise);
    TForm5 next(nullptr, query, folder.program());
    ASSERT_LE(messages.messages.size(), 1u);
    if (!messages.messages.empty()) {
        EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::ErrorReport);
    }
    EXPECT_EQ(next.editor()->font().pointSize(), 9);
    EXPECT_EQ(testing_support::readBytes(folder.file("quillo.ini")), noise);
}

TEST_F(ReadingWindowTest, FontChangeKeepsTheSizePositionOrTakesTheLast)
{
    form.fontSizePicker()->setFontSize(72);
    form.fontNamePicker()->setFontName("DejaVu Serif");
    EXPECT_EQ(form.fontSizePicker()->fontSize(), 72);
    EXPECT_EQ(form.editor()->font().family(), "DejaVu Serif");
    EXPECT_EQ(form.editor()->font().pointSize(), 72);
}

} // namespace

namespace {

// Where each window of the book stands when shown: its outer frame's centre on the main
// window's or on the screen's, from the sizes alone.
class PlacementTest : public BookWindowsTest {
protected:
    PlacementTest()
    {
        mainWindow.setGeometry(173, 91, 640, 478);
        mainWindow.show();
    }
    static QPoint offCentre(QWidget& window, const QRect& area)
    {
        window.show();
        const QPoint off = window.frameGeometry().center() - area.center();
        window.hide();
        return off;
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->geometry(); }

    QWidget mainWindow;
};

TEST_F(PlacementTest, DialogsStandCentredOnTheMainWindowOrTheScreen)
{
    TForm2 add(&mainWindow, titles, query);
    TForm3 remove(&mainWindow, titles, query);
    TForm4 search(&mainWindow, titles, query);
    TForm5 reading(&mainWindow, query, folder.program());
    TForm6 overwrite(&mainWindow);
    TForm13 saveChanges(&mainWindow);
    for (QWidget* onMain : std::initializer_list<QWidget*>{&add, &remove, &search, &reading}) {
        const QPoint off = offCentre(*onMain, mainWindow.frameGeometry());
        EXPECT_LE(off.manhattanLength(), 1) << onMain->windowTitle().toStdString();
    }
    for (QWidget* onScreen : std::initializer_list<QWidget*>{&overwrite, &saveChanges}) {
        const QPoint off = offCentre(*onScreen, screen());
        EXPECT_LE(off.manhattanLength(), 1) << onScreen->windowTitle().toStdString();
    }
    mainWindow.move(20, 30);  // placed anew at every opening
    EXPECT_LE(offCentre(add, mainWindow.frameGeometry()).manhattanLength(), 1);
}

// The add dialog's button row, counted from the frame panel's left edge, on one line.
TEST_F(PlacementTest, AddDialogButtonsStandInTheirRow)
{
    TForm2 add(&mainWindow, titles, query);
    const std::pair<const char*, int> row[] = {
        {"浏览(&B)...", 16}, {"不换行(&W)", 96}, {"确定(&O)", 266}, {"取消(&C)", 346}};
    const QList<QAbstractButton*> buttons = add.findChildren<QAbstractButton*>();
    std::optional<int> top;
    for (const auto& [caption, left] : row) {
        const auto found = std::find_if(buttons.begin(), buttons.end(), [&](QAbstractButton* b) {
            return b->text() == QString::fromUtf8(caption);
        });
        ASSERT_NE(found, buttons.end()) << caption;
        const QRect place = (*found)->geometry();
        EXPECT_EQ(place.left(), left) << caption;
        EXPECT_EQ(place.size(), QSize(72, 25)) << caption;
        EXPECT_EQ(place.top(), top.value_or(place.top())) << caption;
        top = place.top();
    }
}

} // namespace
