// The pictures of the Themes folder, drawn with QPainter: category bar, toolbar and header
// strips, preview panel edges, the empty and failed thumbnails, the splash and About pictures,
// and the small glyphs of the toolbar buttons.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

namespace themes {

// The colour that stands for "no picture" in the toolbar glyphs (a bitmap has no transparency).
inline const QColor kGlyphKey(255, 0, 255);

struct ThemePicture {
    QString fileName;  // e.g. "Left.bmp"
    QImage image;      // at the size of the area it fills
};

// Draws every picture; needs a QGuiApplication for the fonts.
std::vector<ThemePicture> drawThemePictures();

// Writes every picture as a Windows bitmap into folder, making the folder when it is missing.
// Returns an empty text on success, otherwise what went wrong.
QString writeThemePictures(const QString& folder);

} // namespace themes
