// The desktop clipboard's stand-in, on the toolkit's in-process clipboard: which contents count
// as text or picture, and a picture that cannot be read.
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class SystemClipboardTest : public testing::Test {
protected:
    ~SystemClipboardTest() override { QGuiApplication::clipboard()->clear(); }

    static void put(const QString& format, const QByteArray& bytes)
    {
        auto* data = new QMimeData;
        data->setData(format, bytes);
        QGuiApplication::clipboard()->setMimeData(data);
    }

    platform::SystemClipboard clipboard;
};

TEST_F(SystemClipboardTest, CopiedFilesAreNeitherTextNorPicture)
{
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/报告.txt"))});
    QGuiApplication::clipboard()->setMimeData(files);
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_FALSE(clipboard.hasImage());
}

TEST_F(SystemClipboardTest, TextWithACharsetIsText)
{
    put(QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("墨舟").toUtf8());
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), QStringLiteral("墨舟"));
}

TEST_F(SystemClipboardTest, PictureThatCannotBeDecodedIsAClipboardError)
{
    put(QStringLiteral("application/x-qt-image"), QByteArrayLiteral("not a picture"));
    ASSERT_TRUE(clipboard.hasImage());
    EXPECT_THROW(clipboard.image(), platform::ClipboardError);
}

TEST_F(SystemClipboardTest, EveryChangeIsNoticedAndClearLeavesNothing)
{
    QSignalSpy changes(&clipboard, &platform::Clipboard::changed);
    QImage picture(5, 4, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    clipboard.setImage(picture);
    EXPECT_TRUE(clipboard.hasImage());
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.image().convertToFormat(QImage::Format_RGB32), picture);
    clipboard.setText(QString());
    EXPECT_TRUE(clipboard.hasText());
    clipboard.clear();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_FALSE(clipboard.hasImage());
    EXPECT_EQ(changes.count(), 3);
}

} // namespace
