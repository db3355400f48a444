#include "CodecErrors.h"

#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace album {

namespace {

QString withDetail(const QString& cause, const QString& detail)
{
    return detail.isEmpty() ? cause : QStringLiteral("%1：%2").arg(cause, detail);
}

QString jpegCause(int messageCode)
{
    switch (messageCode) {
    case JERR_NO_SOI:
        return QStringLiteral("不是 JPEG 数据");
    case JERR_INPUT_EMPTY:
    case JERR_INPUT_EOF:
        return QStringLiteral("数据不完整");
    case JERR_OUT_OF_MEMORY:
        return QStringLiteral("内存不足");
    case JERR_SOF_UNSUPPORTED:
    case JERR_NOT_COMPILED:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_BAD_PRECISION:
    case JERR_BAD_IN_COLORSPACE:
    case JERR_BAD_J_COLORSPACE:
    case JERR_CCIR601_NOTIMPL:
        return QStringLiteral("不支持这种 JPEG 编码");
    default:
        return QStringLiteral("数据有误");
    }
}

} // namespace

QString readFailure(const QImageReader& reader)
{
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
        return withDetail(QStringLiteral("文件不存在"), reader.errorString());
    case QImageReader::DeviceError:
        return withDetail(QStringLiteral("读取数据时出错"), reader.errorString());
    case QImageReader::UnsupportedFormatError:
        return withDetail(QStringLiteral("不支持这种图片格式"), reader.errorString());
    case QImageReader::InvalidDataError:
        return withDetail(QStringLiteral("图片数据无效"), reader.errorString());
    case QImageReader::UnknownError:
        break;
    }
    return withDetail(QStringLiteral("无法读出图片"), reader.errorString());
}

QString writeFailure(const QImageWriter& writer)
{
    switch (writer.error()) {
    case QImageWriter::DeviceError:
        return withDetail(QStringLiteral("写入数据时出错"), writer.errorString());
    case QImageWriter::UnsupportedFormatError:
        return withDetail(QStringLiteral("不支持这种图片格式"), writer.errorString());
    case QImageWriter::InvalidImageError:
        return withDetail(QStringLiteral("图片无效"), writer.errorString());
    case QImageWriter::UnknownError:
        break;
    }
    return withDetail(QStringLiteral("无法写出图片"), writer.errorString());
}

QString jpegFailure(int messageCode, const QString& libraryText)
{
    return withDetail(jpegCause(messageCode), libraryText);
}

} // namespace album
