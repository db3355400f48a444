// The About window: its picture, where it opens, which clicks close it and which open an address.
#include "support/ProgramFolder.h"

#include "app/About.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::ProgramFolder;

namespace {

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow.setGeometry(200, 150, 640, 478);
        mainWindow.show();
    }
    std::unique_ptr<TForm12> create()
    {
        auto form = std::make_unique<TForm12>(&mainWindow, platform::ProgramFolder::current(), [this](const QUrl& url) { opened << url; });
        form->show();
        return form;
    }
    // Clicks what lies at point of the window, as the mouse would hit it.
    static void clickAt(TForm12& form, QPoint point, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget* target = form.childAt(point);
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, button, {}, target->mapFrom(&form, point));
    }
    static QPoint centreOf(const QLabel* label) { return label->geometry().center(); }
    void writePicture()
    {
        QDir(folder.path()).mkpath("Themes");
        QImage picture(310, 220, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(folder.file("Themes/About.bmp"), "BMP"));
    }

    ProgramFolder folder;
    QWidget mainWindow;
    QList<QUrl> opened;
};

TEST_F(AboutTest, IsABorderless310By220PictureCentredOnTheMainWindow)
{
    writePicture();
    auto form = create();
    EXPECT_TRUE(form->hasPicture());
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->size(), QSize(310, 220));
    const QRect main = mainWindow.frameGeometry();
    // The offscreen platform's window frames may shift either window by a pixel.
    const QPoint offCentre = form->frameGeometry().center() - main.center();
    EXPECT_LE(std::abs(offCentre.x()), 1);
    EXPECT_LE(std::abs(offCentre.y()), 1);
    EXPECT_TRUE(form->isModal());
}

TEST_F(AboutTest, LabelsStandAtTheirPlacesWithTheirTexts)
{
    auto form = create();
    const QList<QLabel*> labels = form->labels();
    ASSERT_EQ(labels.size(), 7);
    const QPoint places[] = {{32, 136}, {120, 136}, {152, 136}, {32, 154},
                             {120, 154}, {32, 172}, {120, 172}};
    const QString texts[] = {"版本信息：", "v2.0", "免费版", "墨舟主页：", app::kHomepageAddress,
                             "电子邮件：", app::kMailAddress};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(labels[i]->pos(), places[i]) << i;
        EXPECT_EQ(labels[i]->text(), texts[i]) << i;
    }
    for (int i : {4, 6}) {
        EXPECT_TRUE(labels[i]->font().underline());
        EXPECT_EQ(labels[i]->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(labels[i]->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
    EXPECT_EQ(labels[0]->font().pixelSize(), 13);
    EXPECT_EQ(labels[1]->font().pixelSize(), 11);
}

TEST_F(AboutTest, AddressLabelsOpenTheirTargetsAndTheWindowStaysOpen)
{
    auto form = create();
    clickAt(*form, centreOf(form->labels()[4]));
    clickAt(*form, centreOf(form->labels()[6]));
    EXPECT_EQ(opened, QList<QUrl>({QUrl("https://mozhou.app"), QUrl("mailto:support@mozhou.app")}));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(AboutTest, OnlyALeftClickOnTheUncoveredPictureClosesIt)
{
    writePicture();
    auto form = create();
    for (int i : {0, 1, 2, 3, 5})  // labels without an action
        clickAt(*form, centreOf(form->labels()[i]));
    clickAt(*form, QPoint(20, 20), Qt::RightButton);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(opened.isEmpty());
    clickAt(*form, QPoint(20, 20));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(AboutTest, WithoutThePictureItStillShowsItsLabelsAndClosesOnAClick)
{
    auto form = create();
    EXPECT_FALSE(form->hasPicture());
    EXPECT_TRUE(form->labels()[4]->isVisible());
    clickAt(*form, QPoint(300, 210));
    EXPECT_FALSE(form->isVisible());
}

} // namespace
