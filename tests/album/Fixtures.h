// Pictures made by the tests themselves: BMP and JPEG files written with Qt (the program never
// encodes JPEG; the fixtures may), and broken variants of them.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace album {
class AlbumPane;
}

namespace album_fixtures {

// The pane once its preview picture has decoded (or failed to), for checks of what it shows.
album::AlbumPane& settled(album::AlbumPane& pane);

// A picture with a recognisable pattern.
QImage pattern(int width, int height);
QByteArray bmpBytes(int width, int height);
QByteArray jpegBytes(int width, int height, bool grayscale = false);
QByteArray jpegOf(const QImage& picture);
// A JPEG stream whose frame header claims the given size (the rest is a small real picture).
QByteArray jpegClaiming(int width, int height);
// A BMP file whose header claims the given size over a few bytes of pixels.
QByteArray bmpClaiming(int width, int height);
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace album_fixtures
