// The skin styles: the style enumeration, the 42-entry style table of the built-in styles, the
// skin pictures compiled into the program, and how a style reaches a control.
#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>

class QWidget;
class TsuiFileTheme;

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
constexpr TColor clGray = 8421504;  // (128,128,128)
constexpr TColor clBtnFace = TColor(0xFF00000F);
constexpr TColor clHighlight = TColor(0xFF00000D);
constexpr TColor clHighlightText = TColor(0xFF00000E);
constexpr TColor clMenuText = TColor(0xFF000007);
QColor toQColor(TColor color);
TColor fromQColor(const QColor& color);

// The colour the skin treats as transparent in its pictures.
inline const QColor kMagenta(255, 0, 255);

enum class StyleKind { Integer, Color, Image, Boolean };
constexpr int kStyleEntryCount = 42;

// Name (also the entry name in a theme file) and kind of the entry at a position 1..42;
// an empty name outside that range.
QString styleEntryName(int pos);
StyleKind styleEntryKind(int pos);
// The resource name of an image entry in a built-in style ("WINXP_BUTTON"); empty when the
// entry is no image or the style is not built in.
QString styleBitmapName(TsuiUIStyle style, int pos);

// Table lookups; a kind other than asked, a position outside 1..42 or a style outside the
// built-in ones yields colour 0, integer -1, boolean false, no picture.
TColor StyleColor(TsuiUIStyle style, int pos);
int StyleInt(TsuiUIStyle style, int pos);
bool StyleBool(TsuiUIStyle style, int pos);
// Loads the picture of an image entry into target: whole with count 0, else frame index
// (1-based) of count equal frames. Does nothing without a target or for other entries.
void StyleBitmap(TsuiUIStyle style, int pos, QImage* target, int index = 0, int count = 0);

// Target becomes frame index (1-based) of count equal frames laid side by side in source.
void SliceStrip(const QImage& source, QImage* target, int count, int index);
QImage sliceStrip(const QImage& source, int count, int index);

// A skin picture compiled into the program, by name ("WINXP_BUTTON", "MSGDLG"); null when the
// program carries no picture of that name.
QImage skinPicture(const QString& name);

struct ResolvedStyle {
    bool useTheme = false;
    TsuiUIStyle style = TsuiUIStyle::DeepBlue;
    bool operator==(const ResolvedStyle&) const = default;
};
// Where a control takes its values from: the opened theme for FromThemeFile, DeepBlue for
// FromThemeFile without one, else the table with the style itself.
ResolvedStyle ResolveStyle(const TsuiFileTheme* theme, TsuiUIStyle style);

// The style of the first TsuiForm among the owner's child controls; DeepBlue without one.
TsuiUIStyle DefaultStyleOf(const QWidget* owner);
// The style a new control takes from the window it is created in.
TsuiUIStyle defaultStyleFor(const QWidget* parent);

// Gives every direct child control that publishes FileTheme and UIStyle first the theme, then
// the style, in child order.
void ApplyStyleToChildren(QWidget* container, TsuiUIStyle style, TsuiFileTheme* theme);

} // namespace skin

using skin::TsuiUIStyle;
using skin::TColor;
