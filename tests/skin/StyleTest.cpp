// The style table, the compiled-in skin pictures and how a style reaches a control.
#include "skin/Controls.h"
#include "skin/FileTheme.h"
#include "skin/Style.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace skin;

namespace {

constexpr TsuiUIStyle kBuiltIn[] = {TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue, TsuiUIStyle::MacOS,
                                    TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass};

struct Rgb {
    int r, g, b;
};

// Every colour entry as (R,G,B) per style, in the column order WinXP, DeepBlue, MacOS, Protein,
// BlueGlass: a second transcription that catches a wrong stored number.
struct ColorRow {
    StyleEntry entry;
    Rgb values[5];
};
const ColorRow kColors[] = {
    {StyleEntry::FormBackgroundColor, {{239, 235, 222}, {232, 232, 232}, {231, 231, 231}, {251, 251, 251}, {231, 231, 231}}},
    {StyleEntry::FormBorderColor, {{0, 44, 200}, {0, 0, 0}, {127, 127, 127}, {0, 0, 0}, {0, 0, 0}}},
    {StyleEntry::MenuSelectedBorderColor, {{49, 105, 198}, {68, 74, 160}, {57, 115, 196}, {45, 48, 196}, {94, 94, 236}}},
    {StyleEntry::MenuSelectedBackgroundColor, {{198, 211, 239}, {68, 74, 160}, {57, 115, 196}, {45, 48, 196}, {94, 94, 236}}},
    {StyleEntry::MenuSelectedFontColor, {{0, 0, 0}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}, {255, 255, 255}}},
    {StyleEntry::MenuBackgroundColor, {{255, 255, 255}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {231, 231, 231}}},
    {StyleEntry::MenuFontColor, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {StyleEntry::MenuBarColor, {{214, 211, 206}, {214, 211, 206}, {0, 0, 0}, {214, 211, 206}, {214, 211, 206}}},
    {StyleEntry::ControlBorderColor, {{104, 104, 104}, {0, 0, 0}, {127, 127, 127}, {0, 0, 0}, {0, 0, 0}}},
    {StyleEntry::ControlBackgroundColor, {{239, 235, 222}, {232, 232, 232}, {231, 231, 231}, {251, 251, 251}, {231, 231, 231}}},
    {StyleEntry::ControlFontColor, {{2, 70, 207}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
    {StyleEntry::ScrollBarBackgroundColor, {{249, 249, 249}, {245, 245, 245}, {201, 201, 201}, {245, 245, 245}, {244, 244, 244}}},
    {StyleEntry::ToolBarButtonBorderColor, {{49, 105, 198}, {71, 71, 71}, {71, 71, 71}, {71, 71, 71}, {71, 71, 71}}},
    {StyleEntry::ToolBarButtonBackgroundColor, {{198, 211, 239}, {239, 239, 239}, {239, 239, 239}, {239, 239, 239}, {239, 239, 239}}},
    {StyleEntry::ToolBarButtonDownBackgroundColor, {{147, 172, 225}, {216, 216, 216}, {216, 216, 216}, {216, 216, 216}, {216, 216, 216}}},
};

// Sizes of the style pictures in the column order above; empty where a style has none.
struct SizeRow {
    const char* element;
    QSize sizes[5];
};
const SizeRow kSizes[] = {
    {"BUTTON", {{54, 21}, {222, 21}, {252, 23}, {222, 21}, {231, 27}}},
    {"CHECKBOX", {{52, 13}, {52, 13}, {60, 17}, {52, 13}, {52, 13}}},
    {"RADIOBUTTON", {{52, 13}, {52, 13}, {64, 17}, {52, 13}, {52, 13}}},
    {"TITLEBTN", {{378, 21}, {342, 19}, {306, 17}, {342, 19}, {342, 19}}},
    {"TITLE_LEFT", {{35, 29}, {97, 32}, {48, 23}, {441, 23}, {162, 33}}},
    {"TITLE_CLIENT", {{37, 29}, {98, 32}, {49, 23}, {1, 23}, {179, 33}}},
    {"TITLE_RIGHT", {{35, 29}, {97, 32}, {48, 23}, {1, 23}, {101, 33}}},
    {"PROGRESSBAR", {{6, 10}, {1, 10}, {13, 10}, {1, 10}, {1, 10}}},
    {"TRACKBAR_BAR", {{45, 8}, {45, 4}, {45, 5}, {45, 4}, {45, 4}}},
    {"TRACKBAR_SLIDER", {{11, 21}, {11, 20}, {11, 20}, {11, 20}, {11, 20}}},
    {"TRACKBAR_SLIDER_V", {{22, 11}, {18, 11}, {19, 11}, {18, 11}, {18, 11}}},
    {"SCROLLBAR_BUTTON", {{96, 17}, {96, 16}, {96, 22}, {96, 16}, {102, 16}}},
    {"SCROLLBAR_TRACK", {{21, 16}, {21, 16}, {33, 16}, {21, 16}, {21, 16}}},
    {"CHECKLIST", {{44, 11}, {44, 11}, {40, 11}, {44, 11}, {44, 11}}},
    {"SCROLLBUTTON", {{72, 18}, {}, {72, 18}, {}, {}}},
    {"TAB", {{18, 18}, {12, 17}, {36, 27}, {18, 17}, {18, 17}}},
    {"TAB_LINE", {{8, 1}, {5, 5}, {17, 7}, {10, 5}, {10, 5}}},
    {"SIDECHENNEL_HANDLE", {{8, 86}, {8, 83}, {7, 84}, {8, 83}, {8, 86}}},
    {"SIDECHENNEL_BAR", {{1, 21}, {1, 20}, {1, 21}, {1, 21}, {1, 21}}},
    {"COMBOBOX_BUTTON", {{16, 18}, {}, {16, 17}, {}, {}}},
    {"FORM_BACKGROUND", {{}, {}, {8, 8}, {8, 8}, {}}},
};
const char* const kPrefixes[] = {"WINXP", "DEEPBLUE", "MACOS", "PROTEIN", "BLUEGLASS"};

bool containsColor(const QImage& image, QColor color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}

} // namespace

TEST(StyleTable, ColourEntriesHoldTheStoredNumbers)
{
    for (const ColorRow& row : kColors)
        for (int s = 0; s < 5; ++s) {
            const Rgb& c = row.values[s];
            EXPECT_EQ(StyleColor(kBuiltIn[s], row.entry), c.r + 256 * c.g + 65536 * c.b)
                << "position " << int(row.entry) << " style " << s;
            EXPECT_EQ(StyleInt(kBuiltIn[s], row.entry), -1) << "colour entries are no integers";
        }
}

TEST(StyleTable, LookupsOfTheWrongKindOrStyleAreNeutral)
{
    EXPECT_EQ(StyleInt(TsuiUIStyle::WinXP, StyleEntry::TitleBarButtonRightOffsetInt), -2);
    EXPECT_EQ(StyleInt(TsuiUIStyle::BlueGlass, StyleEntry::FormMinWidthInt), 270);
    EXPECT_EQ(StyleColor(TsuiUIStyle::WinXP, StyleEntry::TitleBarButtonRightOffsetInt), 0);
    EXPECT_FALSE(StyleBool(TsuiUIStyle::WinXP, StyleEntry::TitleBarButtonRightOffsetInt));
    EXPECT_TRUE(StyleBool(TsuiUIStyle::MacOS, StyleEntry::ButtonTransparentBool));
    EXPECT_TRUE(StyleBool(TsuiUIStyle::Protein, StyleEntry::TitleBarButtonTransparentBool));
    EXPECT_FALSE(StyleBool(TsuiUIStyle::WinXP, StyleEntry::ButtonTransparentBool));
    EXPECT_EQ(StyleInt(TsuiUIStyle::WinXP, StyleEntry::FormBorderWidthInt), 3);
    EXPECT_EQ(StyleInt(TsuiUIStyle::DeepBlue, StyleEntry::TitleBarButtonTopInt), 2);

    for (int pos : {0, 43, -1}) {
        EXPECT_EQ(StyleColor(TsuiUIStyle::WinXP, StyleEntry(pos)), 0);
        EXPECT_EQ(StyleInt(TsuiUIStyle::WinXP, StyleEntry(pos)), -1);
    }
    EXPECT_EQ(StyleInt(TsuiUIStyle::FromThemeFile, StyleEntry::FormMinWidthInt), -1);
    EXPECT_EQ(StyleColor(TsuiUIStyle::FromThemeFile, StyleEntry::FormBackgroundColor), 0);
    EXPECT_EQ(StyleInt(TsuiUIStyle(6), StyleEntry::FormMinWidthInt), -1);
    // Only the low seven bits count: 0x82 looks up WinXP.
    EXPECT_EQ(StyleInt(TsuiUIStyle(0x82), StyleEntry::FormMinWidthInt), 150);

    QImage target(3, 3, QImage::Format_RGB32);
    StyleBitmap(TsuiUIStyle::WinXP, StyleEntry::FormMinWidthInt, &target);
    EXPECT_EQ(target.size(), QSize(3, 3)) << "an integer entry leaves the target alone";
    StyleBitmap(TsuiUIStyle::FromThemeFile, StyleEntry::ButtonImage, &target);
    EXPECT_EQ(target.size(), QSize(3, 3));
    StyleBitmap(TsuiUIStyle::WinXP, StyleEntry::ButtonImage, nullptr);  // no target: nothing happens
}

TEST(StyleTable, ImageEntriesNameTheStylesPictures)
{
    EXPECT_EQ(styleBitmapName(TsuiUIStyle::DeepBlue, StyleEntry::ButtonImage), "DEEPBLUE_BUTTON");
    EXPECT_EQ(styleBitmapName(TsuiUIStyle::WinXP, StyleEntry::ScrollButtonImage), "WINXP_SCROLLBUTTON");
    EXPECT_EQ(styleBitmapName(TsuiUIStyle::MacOS, StyleEntry::ScrollButtonImage), "MACOS_SCROLLBUTTON");
    for (TsuiUIStyle shared : {TsuiUIStyle::DeepBlue, TsuiUIStyle::Protein, TsuiUIStyle::BlueGlass})
        EXPECT_EQ(styleBitmapName(shared, StyleEntry::ScrollButtonImage), "MORE_SCROLLBUTTON");

    QImage loaded;
    StyleBitmap(TsuiUIStyle::DeepBlue, StyleEntry::ScrollButtonImage, &loaded);
    EXPECT_EQ(loaded, skinPicture("MORE_SCROLLBUTTON"));
    StyleBitmap(TsuiUIStyle::WinXP, StyleEntry::ScrollButtonImage, &loaded);
    EXPECT_EQ(loaded, skinPicture("WINXP_SCROLLBUTTON"));
    // Every image entry of every built-in style names a picture the program carries.
    for (TsuiUIStyle style : kBuiltIn)
        for (int pos = 1; pos <= kStyleEntryCount; ++pos)
            if (styleEntryKind(StyleEntry(pos)) == StyleKind::Image) {
                StyleBitmap(style, StyleEntry(pos), &loaded);
                EXPECT_FALSE(loaded.isNull()) << styleBitmapName(style, StyleEntry(pos)).toStdString();
            }
}

TEST(SkinPictures, EveryNameLoadsAtItsSize)
{
    for (const SizeRow& row : kSizes)
        for (int s = 0; s < 5; ++s) {
            const QString name = QString::fromLatin1(kPrefixes[s]) + u'_' + QString::fromLatin1(row.element);
            const QImage picture = skinPicture(name);
            if (row.sizes[s].isEmpty()) {
                EXPECT_TRUE(picture.isNull()) << name.toStdString();
            } else {
                EXPECT_EQ(picture.size(), row.sizes[s]) << name.toStdString();
            }
        }
    const std::pair<const char*, QSize> shared[] = {
        {"MENU_CHECKED", {16, 16}}, {"MSGDLG", {168, 42}}, {"MORE_SCROLLBUTTON", {72, 17}},
        {"PANEL_BUTTON", {52, 12}}, {"MACOS_MENU_BAR", {1, 22}}, {"MACOS_MENU_SELECT", {1, 21}},
        {"STATUSBAR_HANDLE", {11, 11}}, {"FONTCOMBO_TRUETYPE_FNT", {20, 12}}, {"FONTCOMBO_DEVICE_FNT", {20, 12}}};
    for (const auto& [name, size] : shared)
        EXPECT_EQ(skinPicture(name).size(), size) << name;
    EXPECT_TRUE(skinPicture("NO_SUCH_PICTURE").isNull());
}

TEST(SkinPictures, WinXPHasNoMagentaAndMacOSButtonsAreKeyed)
{
    for (const SizeRow& row : kSizes) {
        const QImage picture = skinPicture(QStringLiteral("WINXP_") + QString::fromLatin1(row.element));
        if (!picture.isNull()) {
            EXPECT_FALSE(containsColor(picture, kMagenta)) << row.element;
        }
    }
    EXPECT_FALSE(containsColor(skinPicture("WINXP_TITLEBTN"), kMagenta));
    EXPECT_EQ(skinPicture("MACOS_BUTTON").pixelColor(0, 0), kMagenta);
    EXPECT_EQ(skinPicture("MENU_CHECKED").pixelColor(0, 0), QColor(Qt::white));
}

TEST(SkinPictures, WinXPButtonFramesShowOutlineRimAndPressedFace)
{
    const QImage strip = skinPicture("WINXP_BUTTON");
    const QImage normal = sliceStrip(strip, 3, 1), hot = sliceStrip(strip, 3, 2), pressed = sliceStrip(strip, 3, 3);
    EXPECT_EQ(normal.size(), QSize(18, 21));
    EXPECT_EQ(normal.pixelColor(0, 10), QColor(0, 60, 116));
    EXPECT_EQ(hot.pixelColor(1, 10), QColor(255, 204, 102));
    EXPECT_LT(pressed.pixelColor(9, 10).lightness(), normal.pixelColor(9, 10).lightness());
    // The centre pixel, which the nine-slice stretches over a button's face.
    EXPECT_EQ(normal.pixelColor(9, 10), QColor(243, 243, 238));
}

TEST(SliceStrip, CutsEqualFramesOneBased)
{
    QImage frame;
    SliceStrip(skinPicture("WINXP_TITLEBTN"), &frame, 18, 16);
    ASSERT_EQ(frame.size(), QSize(21, 21));
    // Frame 16 is the normal close button: red-orange; frame 7 the normal maximise: blue.
    const QColor close = frame.pixelColor(3, 10);
    EXPECT_GT(close.red(), close.blue());
    const QColor maximise = sliceStrip(skinPicture("WINXP_TITLEBTN"), 18, 7).pixelColor(3, 10);
    EXPECT_GT(maximise.blue(), maximise.red());

    QImage source(10, 2, QImage::Format_RGB32);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 2; ++y)
            source.setPixel(x, y, qRgb(x, 0, 0));
    SliceStrip(source, &frame, 3, 2);  // frame width 10 div 3 = 3: columns 3 to 5
    ASSERT_EQ(frame.size(), QSize(3, 2));
    EXPECT_EQ(qRed(frame.pixel(0, 0)), 3);
    EXPECT_EQ(qRed(frame.pixel(2, 1)), 5);
}

TEST(StyleReachesControls, NewControlsTakeTheStyleOfTheWindowsForm)
{
    QWidget window;
    auto* form = new TsuiForm(&window);
    EXPECT_EQ(form->UIStyle(), TsuiUIStyle::WinXP);
    EXPECT_EQ(DefaultStyleOf(&window), TsuiUIStyle::WinXP);
    auto* panel = new QWidget(form);
    EXPECT_EQ((new TsuiButton(QStringLiteral("确定"), panel))->UIStyle(), TsuiUIStyle::WinXP);
    form->setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ((new TsuiCheckBox(QStringLiteral("x"), form))->UIStyle(), TsuiUIStyle::MacOS);
    EXPECT_EQ((new TsuiPopupMenu(form))->UIStyle(), TsuiUIStyle::MacOS);

    QWidget bare;
    EXPECT_EQ(DefaultStyleOf(&bare), TsuiUIStyle::DeepBlue);
    EXPECT_EQ((new TsuiButton(QStringLiteral("x"), &bare))->UIStyle(), TsuiUIStyle::DeepBlue);
    TsuiButton orphan;
    EXPECT_EQ(orphan.UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(DefaultStyleOf(nullptr), TsuiUIStyle::DeepBlue);
}

TEST(StyleReachesControls, ResolveStyleFallsBackToDeepBlueWithoutAnOpenedTheme)
{
    TsuiFileTheme unopened;
    EXPECT_EQ(ResolveStyle(nullptr, TsuiUIStyle::WinXP), (ResolvedStyle{false, TsuiUIStyle::WinXP}));
    EXPECT_EQ(ResolveStyle(&unopened, TsuiUIStyle::MacOS), (ResolvedStyle{false, TsuiUIStyle::MacOS}));
    EXPECT_EQ(ResolveStyle(nullptr, TsuiUIStyle::FromThemeFile), (ResolvedStyle{false, TsuiUIStyle::DeepBlue}));
    EXPECT_EQ(ResolveStyle(&unopened, TsuiUIStyle::FromThemeFile), (ResolvedStyle{false, TsuiUIStyle::DeepBlue}));

    TsuiButton button;
    button.setUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(button.UIStyle(), TsuiUIStyle::FromThemeFile) << "the property keeps what was set";
    EXPECT_FALSE(button.Transparent()) << "drawn with DeepBlue values";
    button.setUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_TRUE(button.Transparent());
}

TEST(StyleReachesControls, ApplyStyleToChildrenReachesDirectChildrenOnly)
{
    QWidget container;
    TsuiFileTheme theme;
    auto* button = new TsuiButton(QStringLiteral("a"), &container);
    auto* label = new QLabel(QStringLiteral("b"), &container);
    auto* inner = new QWidget(&container);
    auto* grandchild = new TsuiCheckBox(QStringLiteral("c"), inner);
    auto* menu = new TsuiPopupMenu(&container);  // a window of its own, not a child control

    ApplyStyleToChildren(&container, TsuiUIStyle::Protein, &theme);
    EXPECT_EQ(button->UIStyle(), TsuiUIStyle::Protein);
    EXPECT_EQ(button->FileTheme(), &theme);
    EXPECT_EQ(grandchild->UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(menu->UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(label->text(), "b");
}

TEST(StyleReachesControls, ADestroyedThemeLeavesItsControlsInDeepBlue)
{
    QWidget window;
    auto* form = new TsuiForm(&window);
    auto* button = new TsuiButton(QStringLiteral("a"), form);
    auto* box = new TsuiCheckBox(QStringLiteral("b"), form);
    auto* theme = new TsuiFileTheme(&window);
    form->setFileTheme(theme);
    form->setUIStyle(TsuiUIStyle::WinXP);
    button->setFileTheme(theme);
    button->setUIStyle(TsuiUIStyle::MacOS);
    delete theme;
    EXPECT_EQ(form->FileTheme(), nullptr);
    EXPECT_EQ(form->UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(button->FileTheme(), nullptr);
    EXPECT_EQ(button->UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(box->UIStyle(), TsuiUIStyle::DeepBlue) << "the form passes DeepBlue to its children";
    EXPECT_EQ(form->Color, QColor(232, 232, 232));
}

TEST(StyleReachesControls, FormWithAutoUpdatePushesItsStyle)
{
    QWidget window;
    auto* form = new TsuiForm(&window);
    auto* button = new TsuiButton(QStringLiteral("a"), form);
    form->setUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(button->UIStyle(), TsuiUIStyle::WinXP);
    form->UIStyleAutoUpdateSub = true;
    form->setUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(button->UIStyle(), TsuiUIStyle::BlueGlass);
    EXPECT_EQ(form->Color, QColor(231, 231, 231));
}
