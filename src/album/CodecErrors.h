// The image codecs' failures in Chinese: a phrase for the cause, followed by the codec's own words
// ("cause：words"), which add a detail (a byte value, a marker) for whoever helps the user.
// Callers put the whole in brackets after what failed.
#pragma once

#include <QImageReader>
#include <QImageWriter>
#include <QString>

namespace album {

// Why a QImageReader failed, e.g. "图片数据无效：Unable to read image data".
QString readFailure(const QImageReader& reader);
// Why a QImageWriter failed.
QString writeFailure(const QImageWriter& writer);
// The cause of a libjpeg error by its message code, followed by libjpeg's text.
QString jpegFailure(int messageCode, const QString& libraryText);

} // namespace album
