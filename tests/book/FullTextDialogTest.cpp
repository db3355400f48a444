// The full-text search dialog wired to the store and the reading window: typing lists the
// matches with their count, Enter opens the entry at the line of the match, Escape closes.
#include "support/Commands.h"
#include "support/ProgramFolder.h"

#include "book/FullTextSearch.h"
#include "book/Load.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/FullText.h"
#include "store/Query.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class FullTextDialogTest : public ::testing::Test {
protected:
    FullTextDialogTest()
    {
        testing_support::addEntry(folder.storePath(), "Zeta", {"nothing here", "第二行有会议纪要"});
        testing_support::addEntry(folder.storePath(), "阿里", {"一", "二", "三", "会议在下午"});
        query.setStorePath(folder.storePath());
    }
    void type(const QString& text)
    {
        dialog.searchEdit()->setFocus();
        // One key press that types the whole text, as an input method hands over Chinese.
        QTest::sendKeyEvent(QTest::Click, dialog.searchEdit(), Qt::Key_unknown, text, Qt::NoModifier);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.countLabel()->text() != "共找到 0 处" || text.isEmpty(), true, 2000);
    }
    QString cell(int row, int column) const
    {
        return dialog.results().index(row, column).data().toString();
    }

    testing_support::ProgramFolder folder;
    skin::RecordingSink messages;
    store::Query query;
    TForm5 reading{nullptr, query, folder.program()};
    TFullTextForm dialog{nullptr, query, reading};
};

TEST_F(FullTextDialogTest, TypingListsTheMatchesInTitleOrderWithTheirCount)
{
    dialog.show();
    type("会议");
    EXPECT_EQ(dialog.countLabel()->text(), "共找到 2 处");
    ASSERT_EQ(dialog.results().rowCount(), 2);
    EXPECT_EQ(cell(0, 0), "Zeta");
    EXPECT_EQ(cell(0, 1), "2");
    EXPECT_EQ(cell(0, 2), "第二行有会议纪要");
    EXPECT_EQ(dialog.results().index(0, 2).data(book::FullTextModel::kMatchRole).toPoint(), QPoint(4, 2));
    EXPECT_EQ(cell(1, 0), "阿里");
    EXPECT_EQ(cell(1, 1), "4");
    EXPECT_EQ(dialog.resultList()->currentIndex().row(), 0);
}

TEST_F(FullTextDialogTest, EnterOpensTheReadingWindowAtTheLineWithTheMatchSelected)
{
    dialog.show();
    type("下午");
    QString caption, selected;
    int line = -1;
    QTimer::singleShot(0, [&] {
        caption = reading.windowTitle();
        selected = reading.editor()->textCursor().selectedText();
        line = reading.editor()->textCursor().blockNumber();
        testing_support::click(reading, "suiButton5");
    });
    QTest::keyClick(dialog.searchEdit(), Qt::Key_Return);
    EXPECT_EQ(caption, "读取《阿里》");
    EXPECT_EQ(selected, "下午");
    EXPECT_EQ(line, 3);
}

TEST_F(FullTextDialogTest, AnEmptyQueryIsRefusedWithAMessageAndEscapeCloses)
{
    QTimer::singleShot(0, [&] {
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Return);
        QTest::keyClick(dialog.searchEdit(), Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, book::kEmptyFullTextQuery);
}

} // namespace
