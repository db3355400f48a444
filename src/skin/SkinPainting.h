// Painting pieces the skinned controls share: the off-screen background, nine-slice pictures,
// the dotted focus rectangle, greyed pictures and the fonts and text sizes of the windows.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

class QPainter;
class QWidget;

namespace skin {

// The font the program's windows give their controls: 宋体 at 12 pixels.
QFont windowFont();
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

// A dotted rectangle, every other pixel, from (left, top) to (right, bottom) exclusive.
void drawFocusRect(QPainter& painter, const QRect& rect, const QColor& color = Qt::black);

} // namespace skin
