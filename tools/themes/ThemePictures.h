// The pictures of the Themes folder, drawn with QPainter: category bar, toolbar and header
// strips, preview panel edges, the empty and failed thumbnails, and the splash and About pictures.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace themes {

struct ThemePicture {
    QString fileName;  // e.g. "Left.bmp"
    QImage image;      // at the size of the area it fills
};

// Draws all ten pictures; needs a QGuiApplication for the fonts.
std::vector<ThemePicture> drawThemePictures();

// Writes every picture as a Windows bitmap into folder, making the folder when it is missing.
// Returns an empty text on success, otherwise what went wrong.
QString writeThemePictures(const QString& folder);

} // namespace themes
