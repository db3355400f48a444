// Skinned check boxes: auto size, the four frames and toggling.
#include "skin/Controls.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Window {
    QWidget window;
    TsuiForm* form = new TsuiForm(&window);
    Window() { window.resize(300, 100); form->setGeometry(0, 0, 300, 100); }
};

QImage frameOf(int frame)
{
    return skin::sliceStrip(skin::skinPicture("WINXP_CHECKBOX"), 4, frame);
}

QImage pictureArea(TsuiCheckBox* box)
{
    const QImage shot = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    return shot.copy(1, (box->height() - 13) / 2, 13, 13);
}

} // namespace

TEST(CheckBox, AutoSizeFitsTheCaption)
{
    Window w;
    auto* fuzzy = new TsuiCheckBox(QStringLiteral("模糊搜索"), w.form);
    EXPECT_EQ(fuzzy->size(), QSize(69, 18));
    auto* describe = new TsuiCheckBox(QStringLiteral("导出图片描述"), w.form);
    EXPECT_EQ(describe->size(), QSize(93, 18));
    describe->setText(QStringLiteral("导出"));
    EXPECT_EQ(describe->width(), 13 + 24 + 8);
    fuzzy->setGeometry(94, 62, 100, 30);
    w.window.show();
    EXPECT_EQ(fuzzy->geometry(), QRect(94, 62, 69, 18)) << "auto size wins over a given size";

    TsuiCheckBox fixed;
    fixed.setAutoSize(false);
    fixed.resize(93, 17);
    fixed.setText(QStringLiteral("模糊搜索"));
    EXPECT_EQ(fixed.size(), QSize(93, 17));
}

TEST(CheckBox, ShowsTheFrameOfItsState)
{
    Window w;
    auto* box = new TsuiCheckBox(QStringLiteral("模糊搜索"), w.form);
    EXPECT_EQ(pictureArea(box), frameOf(2));
    box->setChecked(true);
    EXPECT_EQ(pictureArea(box), frameOf(1));
    box->setEnabled(false);
    EXPECT_EQ(pictureArea(box), frameOf(3));
    box->setChecked(false);
    EXPECT_EQ(pictureArea(box), frameOf(4));
    // The checked frame carries a green tick, the disabled ones none.
    auto greenish = [](const QImage& frame) {
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) {
                const QColor c = frame.pixelColor(x, y);
                if (c.green() > c.red() + 60 && c.green() > c.blue() + 60)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(greenish(frameOf(1)));
    EXPECT_FALSE(greenish(frameOf(2)));
    EXPECT_FALSE(greenish(frameOf(3)));
}

TEST(CheckBox, ClickSpaceAndEnterToggle)
{
    Window w;
    auto* box = new TsuiCheckBox(QStringLiteral("模糊搜索"), w.form);
    w.window.show();
    QApplication::setActiveWindow(&w.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    QSignalSpy clicked(box, &QCheckBox::clicked);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(60, 9));
    EXPECT_TRUE(box->isChecked()) << "the caption is part of the box";
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(clicked.count(), 3);

    box->setEnabled(false);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 9));
    EXPECT_TRUE(box->isChecked());
}

TEST(CheckBox, StateChecksOnlyForChecked)
{
    TsuiCheckBox box;
    box.setState(Qt::Checked);
    EXPECT_TRUE(box.isChecked());
    box.setState(Qt::PartiallyChecked);
    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(box.State(), Qt::Unchecked);
    box.Toggle();
    EXPECT_EQ(box.State(), Qt::Checked);
}

namespace {
// A check box that counts its Checked changes and leaves out its picture's transparent colour.
class CountingCheckBox : public TsuiCheckBox {
public:
    using TsuiCheckBox::TsuiCheckBox;
    int changes = 0;
    bool transparentPicture = false;

protected:
    void CheckedChanged() override { ++changes; }
    bool PictureTransparent() const override { return transparentPicture; }
};
} // namespace

TEST(CheckBox, CheckedChangedFollowsEveryChangeAndPictureTransparencyIsTheSubclasssChoice)
{
    QWidget window;
    auto* form = new TsuiForm(&window);
    CountingCheckBox box(QStringLiteral("模糊搜索"), form);
    box.setChecked(true);
    box.Toggle();
    box.setChecked(false);  // no change
    EXPECT_EQ(box.changes, 2);

    const QImage opaque = box.grab().toImage();
    box.transparentPicture = true;
    box.update();
    EXPECT_NE(box.grab().toImage(), opaque);
}
