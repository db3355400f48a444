// The skin styles: the style enumeration, the 42-entry style table of the built-in styles and the
// skin pictures compiled into the program.
#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>

namespace skin {
Q_NAMESPACE

// Stored by value name ("WinXP"); only the low seven bits count in lookups.
enum class TsuiUIStyle : quint8 { FromThemeFile = 0, MacOS = 1, WinXP = 2, DeepBlue = 3, Protein = 4, BlueGlass = 5 };
Q_ENUM_NS(TsuiUIStyle)

// A colour as the windows store it: red + 256 × green + 65536 × blue; negative values with the
// high byte 0xFF name a colour of the platform's palette.
using TColor = qint32;
constexpr TColor rgbColor(int r, int g, int b) { return r | (g << 8) | (b << 16); }
constexpr TColor clBlack = 0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = TColor(0xFF00000F);
constexpr TColor clHighlight = TColor(0xFF00000D);
constexpr TColor clHighlightText = TColor(0xFF00000E);
constexpr TColor clMenuText = TColor(0xFF000007);
QColor toQColor(TColor color);
TColor fromQColor(const QColor& color);

// The colour the skin treats as transparent in its pictures.
inline const QColor kMagenta(255, 0, 255);

enum class StyleKind { Integer, Color, Image, Boolean };

// The positions of the style table, 1 to 42, each named as its entry in a theme file is.
enum class StyleEntry : int {
    ButtonImage = 1,
    ButtonTransparentBool,
    CheckBoxImage,
    RadioButtonImage,
    TitleBarButtonImage,
    TitleBarButtonTransparentBool,
    TitleBarButtonLeftOffsetInt,
    TitleBarButtonRightOffsetInt,
    TitleBarButtonTopInt,
    TitleBarLeftImage,
    TitleBarClientImage,
    TitleBarRightImage,
    FormMinWidthInt,
    FormRoundCornerInt,
    FormBackgroundColor,
    FormBorderColor,
    FormBorderWidthInt,
    MenuSelectedBorderColor,
    MenuSelectedBackgroundColor,
    MenuSelectedFontColor,
    MenuBackgroundColor,
    MenuFontColor,
    MenuBarColor,
    ProgressBarImage,
    ControlBorderColor,
    ControlBackgroundColor,
    ControlFontColor,
    TrackBarBarImage,
    TrackBarSliderImage,
    TrackBarSliderVImage,
    ScrollBarBackgroundColor,
    ScrollBarButtonImage,
    ScrollBarSliderImage,
    CheckListBoxImage,
    ToolBarButtonBorderColor,
    ToolBarButtonBackgroundColor,
    ToolBarButtonDownBackgroundColor,
    ScrollButtonImage,
    TabControlTabImage,
    TabControlBarImage,
    SideChannelHandleImage,
    SideChannelBarImage,
};
constexpr int kStyleEntryCount = 42;
static_assert(int(StyleEntry::SideChannelBarImage) == kStyleEntryCount);

// Name (also the entry name in a theme file) and kind of an entry; an empty name for a value
// outside the table.
QString styleEntryName(StyleEntry entry);
StyleKind styleEntryKind(StyleEntry entry);
// The resource name of an image entry in a built-in style ("WINXP_BUTTON"); empty when the
// entry is no image or the style is not built in.
QString styleBitmapName(TsuiUIStyle style, StyleEntry entry);

// Table lookups; a kind other than asked, a value outside the table or a style outside the
// built-in ones yields colour 0, integer -1, boolean false, no picture.
TColor StyleColor(TsuiUIStyle style, StyleEntry entry);
int StyleInt(TsuiUIStyle style, StyleEntry entry);
bool StyleBool(TsuiUIStyle style, StyleEntry entry);
// Loads the picture of an image entry into target: whole with count 0, else frame index
// (1-based) of count equal frames. Does nothing without a target or for other entries.
void StyleBitmap(TsuiUIStyle style, StyleEntry entry, QImage* target, int index = 0, int count = 0);

// Target becomes frame index (1-based) of count equal frames laid side by side in source.
void SliceStrip(const QImage& source, QImage* target, int count, int index);
QImage sliceStrip(const QImage& source, int count, int index);

// The picture a form of the style tiles its panel with instead of filling it with its colour
// (MacOS and Protein); null for the other styles.
QImage formBackgroundPicture(TsuiUIStyle style);

// A skin picture compiled into the program, by name ("WINXP_BUTTON", "MSGDLG"); null when the
// program carries no picture of that name.
QImage skinPicture(const QString& name);

} // namespace skin

using skin::TsuiUIStyle;
using skin::TColor;
using skin::StyleEntry;
