// Painting pieces the skinned controls share: the off-screen background, nine-slice pictures,
// the dotted focus rectangle, greyed pictures and the fonts and text sizes of the windows.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRect>

class QFrame;
class QPainter;
class QWidget;

namespace skin {

// The font the program's windows give their controls: 宋体 at 12 pixels.
QFont windowFont();
// The captions of title bars and message windows: Tahoma bold 8 point, drawn 12 pixels high
// rather than 11, at which the strokes of bold Chinese glyphs run together.
inline constexpr int kCaptionPixelSize = 12;
QFont captionFont();
// The height of a line of text as the windows measure it: the font's pixel size.
int textHeight(const QFont& font);
// The width of a caption as shown, the "&" that marks the access key not counted.
int captionWidth(const QFont& font, const QString& caption);

// The colour a control shows where it draws no picture: its parent's colour.
QColor parentColor(const QWidget* control);
// Fills the painter with what lies behind the control: the parent's own painting when
// transparent, else the parent's colour.
void paintBackground(QPainter& painter, QWidget* control, bool transparent);

// Copies of a picture with every pixel of one colour made transparent.
QImage withTransparentColor(const QImage& picture, QColor transparent);
// A picture drawn as the platform shows disabled pictures: grey and light.
QImage greyed(const QImage& picture);

// Draws frame (w × h) over target as a nine-slice: corners unscaled and anchored, edges
// stretched from one-pixel bands, the centre from the middle pixel. Magenta is transparent in
// the edges and the centre, in the corners only when transparentCorners.
void paintNineSlice(QPainter& painter, const QRect& target, const QImage& frame, bool transparentCorners);

// The frame of the skinned edit boxes and lists: the outer rectangle of area in border, the one
// a pixel inside it in inner (the control's own colour).
void paintTwoColourFrame(QPainter& painter, const QRect& area, const QColor& border, const QColor& inner);

// Gives a scroll area (memo, list, grid) a plain frame of the given width that the skin then
// paints over in its two colours.
void reserveFrame(QFrame* area, int width);
// Paints the two-colour frame over a framed control, unless its frame shape is none; the
// inner line is the control's own colour (its base colour).
void paintFrameOver(QFrame* area, const QColor& border);
// Sets the colour of a palette role for every colour group of the control.
void setPaletteColor(QWidget* control, QPalette::ColorRole role, const QColor& color);

// A dotted rectangle, every other pixel, from (left, top) to (right, bottom) exclusive.
void drawFocusRect(QPainter& painter, const QRect& rect, const QColor& color = Qt::black);

} // namespace skin
