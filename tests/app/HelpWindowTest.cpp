// The help pages built into the program: the contents file read into a tree, every topic and
// link leading to a page that is there, and the help window's contents list, links and find.
#include "app/HelpContents.h"
#include "app/HelpWindow.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using app::HelpTopic;

TEST(HelpContentsTest, ReadsNamesPagesAndNestingAndSkipsWhatIsNoEntry)
{
    const QByteArray sitemap = R"(<HTML><BODY>
<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT>
<UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="欢迎"><param name="Local" value="html/index.htm"></OBJECT>
  <UL>
    <li><object type="text/sitemap"><PARAM NAME="local" VALUE="html/a.htm"><param name="name" value="甲 &amp; 乙"></object>
    <UL><LI><OBJECT type="text/sitemap"><param name="Name" value="深"><param name="Local" value="html/deep.htm"></OBJECT></UL>
    <LI><OBJECT type="text/sitemap"><param name="Local" value="html/nameless.htm"></OBJECT>
  </UL>
  <LI><OBJECT type="text/sitemap"><param name="Name" value="无页"></OBJECT>
</UL>
<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="未结束")";
    const std::vector<HelpTopic> expected = {
        {"欢迎", "html/index.htm", 0}, {"甲 & 乙", "html/a.htm", 1}, {"深", "html/deep.htm", 2},
        {"无页", "", 0}};
    EXPECT_EQ(app::readHelpContents(sitemap), expected);
    EXPECT_TRUE(app::readHelpContents("").empty());
    EXPECT_TRUE(app::readHelpContents("\xff\xfe<UL></UL></UL></OBJECT>").empty());
}

QByteArray resource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HelpPagesTest : public ::testing::Test {
protected:
    // The window makes the program's resources reachable.
    app::HelpWindow window{nullptr};
};

TEST_F(HelpPagesTest, EveryTopicOfTheContentsIsABuiltInPage)
{
    const std::vector<HelpTopic> topics = app::readHelpContents(resource(":/help/Help.hhc"));
    ASSERT_GT(topics.size(), 10u);
    EXPECT_EQ(topics.front().page, "html/index.htm");
    for (const HelpTopic& topic : topics)
        EXPECT_TRUE(QFile::exists(":/help/" + topic.page)) << topic.name.toStdString();
    int items = 0;
    for (QTreeWidgetItemIterator it(window.contents()); *it; ++it)
        ++items;
    EXPECT_EQ(items, int(topics.size()));
}

// The pages are shown as they are written: UTF-8, saying so, and every link inside the help
// reaches a page (and an anchor in it) that is there.
TEST_F(HelpPagesTest, PagesAreUtf8AndTheirLinksLeadToPagesThatAreThere)
{
    static const QRegularExpression links(R"re(href="([^"#:]*)(?:#([^"]*))?")re");
    QDirIterator pages(":/help/html", {"*.htm"});
    int count = 0;
    while (pages.hasNext()) {
        const QString page = pages.next();
        ++count;
        const QByteArray bytes = resource(page);
        EXPECT_TRUE(bytes.contains("charset=utf-8")) << page.toStdString();
        EXPECT_TRUE(QString::fromUtf8(bytes).toUtf8() == bytes) << page.toStdString() << " is not UTF-8";
        for (const QRegularExpressionMatch& link : links.globalMatch(QString::fromUtf8(bytes))) {
            const QString target = link.captured(1).isEmpty() ? page : ":/help/html/" + link.captured(1);
            const QByteArray targetBytes = resource(target);
            EXPECT_FALSE(targetBytes.isEmpty()) << page.toStdString() << " links to " << target.toStdString();
            if (!link.captured(2).isEmpty()) {
                EXPECT_TRUE(targetBytes.contains(("id=\"" + link.captured(2) + "\"").toUtf8())
                            || targetBytes.contains(("name=\"" + link.captured(2) + "\"").toUtf8()))
                    << page.toStdString() << " links to a missing anchor " << link.captured(0).toStdString();
            }
        }
    }
    EXPECT_GT(count, 10);
}

TEST_F(HelpPagesTest, TheContentsListAndLinksMoveThePageAndEachOther)
{
    window.showHelp();
    QTreeWidgetItem* welcome = window.contents()->currentItem();
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(welcome->text(0), "欢迎使用墨舟札记");

    // A link clicked in the page (the first one of the welcome page leads to the book's page)
    // is followed and marks its topic.
    QTextBrowser& browser = *window.browser();
    QTextCursor link = browser.document()->find("资料本");
    while (!link.isNull() && !link.charFormat().isAnchor())
        link = browser.document()->find("资料本", link);
    ASSERT_FALSE(link.isNull());
    ASSERT_EQ(link.charFormat().anchorHref(), "book.htm");
    link.setPosition(link.selectionStart() + 1);
    browser.setTextCursor(link);
    browser.ensureCursorVisible();
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, browser.cursorRect(link).center());
    EXPECT_EQ(window.currentPage(), app::helpPageUrl("html/book.htm"));
    ASSERT_NE(window.contents()->currentItem(), nullptr);
    EXPECT_EQ(window.contents()->currentItem()->text(0), "资料本");
    browser.backward();
    EXPECT_EQ(window.currentPage(), app::helpPageUrl("html/index.htm"));
    EXPECT_EQ(window.contents()->currentItem(), welcome);

    QTreeWidgetItem* album = window.contents()->findItems("图片册", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(album, nullptr);
    window.contents()->setCurrentItem(album);
    EXPECT_EQ(window.currentPage(), app::helpPageUrl("html/album.htm"));
    EXPECT_TRUE(window.pageText().contains("图片"));
}

TEST_F(HelpPagesTest, FindSelectsEachOccurrenceWrapsRoundAndNotesAMiss)
{
    window.showHelp();
    const QString text = window.pageText();
    const qsizetype occurrences = text.count("资料本");
    ASSERT_GE(occurrences, 2);

    std::vector<int> seen;
    for (qsizetype i = 0; i <= occurrences; ++i) {
        ASSERT_TRUE(window.findInPage("资料本"));
        EXPECT_EQ(window.browser()->textCursor().selectedText(), "资料本");
        seen.push_back(window.browser()->textCursor().selectionStart());
    }
    EXPECT_EQ(seen.front(), seen.back()) << "the search did not wrap round to the first one";
    EXPECT_LT(seen[0], seen[1]);
    // Backward from the first one: round to the last.
    ASSERT_TRUE(window.findInPage("资料本", true));
    EXPECT_GE(window.browser()->textCursor().selectionStart(), seen[1]);
    EXPECT_TRUE(window.findNote().isEmpty());

    EXPECT_FALSE(window.findInPage("不在页中的字"));
    EXPECT_TRUE(window.findNote().contains("不在页中的字"));
    EXPECT_FALSE(window.findInPage(""));
    EXPECT_TRUE(window.findNote().isEmpty());
}

} // namespace
