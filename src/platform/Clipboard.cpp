#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>

namespace platform {

namespace {

// Pictures up to this size in memory are taken from the clipboard (10,000 x 10,000 pixels need
// 400); the toolkit's usual limit, 128, guards files read elsewhere.
constexpr int kClipboardPictureLimitMegabytes = 1024;

const QMimeData* currentData()
{
    return QGuiApplication::clipboard()->mimeData();
}

} // namespace

SystemClipboard::SystemClipboard(QObject* parent) : Clipboard(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &Clipboard::changed);
}

void SystemClipboard::setText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString SystemClipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}

void SystemClipboard::setImage(const QImage& image)
{
    QGuiApplication::clipboard()->setImage(image);
}

// The clipboard names a picture format, so a null result means the data could not be fetched
// or decoded.
QImage SystemClipboard::image() const
{
    const int usualLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(kClipboardPictureLimitMegabytes);
    QImage image = QGuiApplication::clipboard()->image();
    QImageReader::setAllocationLimit(usualLimit);
    if (image.isNull())
        throw ClipboardError("无法读取剪贴板上的图片。");
    return image;
}

void SystemClipboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

// Plain text in any encoding; a list of copied files alone is no text, although QMimeData
// would turn it into one.
bool SystemClipboard::hasText() const
{
    const QMimeData* data = currentData();
    if (!data)
        return false;
    const QStringList formats = data->formats();
    for (const QString& format : formats)
        if (format == u"text/plain" || format.startsWith(u"text/plain;"))
            return true;
    return false;
}

bool SystemClipboard::hasImage() const
{
    const QMimeData* data = currentData();
    return data && data->hasImage();
}

// On the toolkit's Wayland plugins ("wayland", "wayland-egl" …).
bool SystemClipboard::repeatsUnchangedContent() const
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

void FakeClipboard::setText(const QString& text)
{
    replace(true, text, false, {});
}

QString FakeClipboard::text() const
{
    checkReadable();
    return text_;
}

void FakeClipboard::setImage(const QImage& image)
{
    replace(false, {}, true, image);
}

QImage FakeClipboard::image() const
{
    checkReadable();
    return image_;
}

void FakeClipboard::clear()
{
    replace(false, {}, false, {});
}

void FakeClipboard::setTextAndImage(const QString& text, const QImage& image)
{
    replace(true, text, true, image);
}

void FakeClipboard::setOtherContent()
{
    replace(false, {}, false, {});
}

void FakeClipboard::replace(bool hasText, const QString& text, bool hasImage, const QImage& image)
{
    hasText_ = hasText;
    text_ = text;
    hasImage_ = hasImage;
    image_ = image;
    emit changed();
}

void FakeClipboard::checkReadable() const
{
    if (readsFail_)
        throw ClipboardError("无法打开剪贴板。");
}

} // namespace platform
