// The album export: file names and runs, the folder and name checks, the export over a real
// album pane and store (picture bytes, descriptions, skipped and failing records, names that
// would leave the folder), and the dialog's wiring.
#include "Fixtures.h"
#include "HostilePictures.h"
#include "support/ProgramFolder.h"

#include "album/AlbumExport.h"
#include "album/AlbumPane.h"
#include "album/OutPIC.h"
#include "album/PictureCodec.h"
#include "album/PictureRecords.h"
#include "store/Progress.h"
#include "skin/Messages.h"
#include "skin/TsuiPanel.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"
#include "text/FileErrors.h"
#include "text/FileReplacement.h"

#include <QDir>
#include <QFileSystemModel>
#include <QImage>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QCheckBox>
#include <gtest/gtest.h>
#include <vector>
#include <atomic>
#include <cerrno>
#include <unistd.h>

using album::ExportFileNames;
using album::ExportNaming;
using skin::MessageKind;
using testing_support::readBytes;
using namespace album_fixtures;

namespace {

struct CountingProgress : store::Progress {
    void begin(int maximum) override { this->maximum = maximum; }
    void step() override { ++steps; }
    void idle() override { ++idles; }
    int maximum = -1;
    int steps = 0;
    int idles = 0;
};

std::vector<ExportFileNames> namesOf(const QStringList& pictures)
{
    ExportNaming naming;
    std::vector<ExportFileNames> names;
    for (const QString& picture : pictures)
        names.push_back(naming.next(picture));
    return names;
}

// Lets the first flushes through and fails the rest with ENOSPC, on whichever thread flushes.
std::atomic<int> flushesLeft{0};
int flushThenFail(int descriptor)
{
    if (flushesLeft.fetch_sub(1) > 0)
        return ::fdatasync(descriptor);
    errno = ENOSPC;
    return -1;
}

void expectNames(const std::vector<ExportFileNames>& names, const QStringList& expected)
{
    ASSERT_EQ(names.size() * 2, size_t(expected.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i].picture, expected[qsizetype(2 * i)]);
        EXPECT_EQ(names[i].description, expected[qsizetype(2 * i + 1)]);
    }
}

} // namespace

TEST(AlbumExportNaming, RunsOfEqualUpperCasedNamesAreNumberedBeforeTheExtension)
{
    expectNames(namesOf({"cat.bmp", "sunset.jpg", "Sunset.JPG", "SUNSET.jpg"}),
                {"CAT.BMP", "CAT.TXT", "SUNSET.JPG", "SUNSET.TXT", "SUNSET(2).JPG", "SUNSET(2).TXT",
                 "SUNSET(3).JPG", "SUNSET(3).TXT"});
    // Only the name before counts: a run broken by another name starts again.
    expectNames(namesOf({"a.jpg", "b.jpg", "A.jpg"}),
                {"A.JPG", "A.TXT", "B.JPG", "B.TXT", "A.JPG", "A.TXT"});
    // Different extensions are different names but share the description file.
    expectNames(namesOf({"photo.jpg", "photo.bmp"}),
                {"PHOTO.JPG", "PHOTO.TXT", "PHOTO.BMP", "PHOTO.TXT"});
    // No extension: the picture file has none, the description adds ".TXT".
    expectNames(namesOf({"readme", "README"}),
                {"README", "README.TXT", "README(2)", "README(2).TXT"});
    expectNames(namesOf({"x.tar.jpg", "x.tar.JPG"}),
                {"X.TAR.JPG", "X.TAR.TXT", "X.TAR(2).JPG", "X.TAR(2).TXT"});
}

TEST(AlbumExportNaming, OnlyAsciiLettersAreUpperCased)
{
    EXPECT_EQ(album::upperCasedName("海边 ß é z.jpeg"), "海边 ß é Z.JPEG");
    // é and É stay different names: no run.
    expectNames(namesOf({"é.jpg", "É.jpg"}), {"é.JPG", "é.TXT", "É.JPG", "É.TXT"});
}

TEST(AlbumExportChecks, PlainFileNamesAndExportFolders)
{
    for (const QString& bad : {QString(), QStringLiteral("."), QStringLiteral(".."),
                               QStringLiteral("a/b.JPG"), QStringLiteral("/"),
                               QString::fromUtf16(u"a\0b.JPG", 7)})
        EXPECT_FALSE(album::isPlainFileName(bad)) << qPrintable(bad);
    for (const QString& good : {QStringLiteral("..JPG"), QStringLiteral(".TXT"), QStringLiteral("海边.JPG"),
                                QStringLiteral("A\\B.JPG"), QStringLiteral(" X.BMP ")})
        EXPECT_TRUE(album::isPlainFileName(good)) << qPrintable(good);

    testing_support::ProgramFolder folder;
    ASSERT_TRUE(writeFile(folder.file("plain"), "x"));
    EXPECT_TRUE(album::isExportFolder(folder.path()));
    EXPECT_TRUE(album::isExportFolder(QStringLiteral("/")));
    EXPECT_TRUE(album::isExportFolder(folder.path() + QStringLiteral("/Data/../Data")));
    for (const QString& bad : {QString(), QStringLiteral("."), QStringLiteral("Data"),
                               folder.file("plain"), folder.file("missing"),
                               QStringLiteral("C:\\Pictures")})
        EXPECT_FALSE(album::isExportFolder(bad)) << qPrintable(bad);
}

namespace {

class AlbumExportTest : public ::testing::Test {
protected:
    AlbumExportTest() : pane(nullptr, query)
    {
        query.setStorePath(folder.storePath());
        pane.resize(700, 431);
        QDir(folder.path()).mkdir(QStringLiteral("out"));
        out = folder.file(QStringLiteral("out"));
    }
    void add(const QString& name, const QVariant& flag, const QByteArray& data,
             const QString& description = QStringLiteral("说明"))
    {
        store::Connection connection(folder.storePath());
        store::SqliteStatement insert(connection, QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
        insert.bindAll({name, description, flag, data});
        insert.step();
    }
    // As the main window does at start.
    void openAlbum()
    {
        query.setStatement(store::statements::allPictures());
        query.open();
        if (query.isEmpty())
            query.first();
    }
    album::AlbumExportResult run(bool descriptions)
    {
        openAlbum();
        return album::exportAlbum(pane, out, descriptions, progress);
    }
    QStringList written() const
    {
        return QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QByteArray outFile(const QString& name) const { return readBytes(out + u'/' + name); }

    testing_support::ProgramFolder folder;
    skin::RecordingSink sink;
    store::Query query;
    album::AlbumPane pane;
    CountingProgress progress;
    QString out;
};

} // namespace

TEST_F(AlbumExportTest, WritesEveryPictureInItsOwnFormatWithDescriptionsInNameOrder)
{
    const QByteArray jpeg1 = jpegBytes(40, 30), jpeg2 = jpegBytes(30, 40);
    add("Sunset.JPG", 1, jpeg2, QString());
    add("cat.bmp", 0, bmpBytes(20, 10), "猫 € 𠀀");
    add("Fail", QVariant(), "icon data");
    add("sunset.jpg", 1, jpeg1, "first");
    add("海边.jpg", 1, jpeg1, "海边的照片");
    const album::AlbumExportResult result = run(true);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.pictures, 5);
    EXPECT_EQ(result.written, 4);
    EXPECT_EQ(progress.maximum, 5);
    EXPECT_EQ(progress.steps, 5);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(written(), QStringList({"CAT.BMP", "CAT.TXT", "SUNSET(2).JPG", "SUNSET(2).TXT",
                                      "SUNSET.JPG", "SUNSET.TXT", "海边.JPG", "海边.TXT"}));
    // JPEG byte for byte; the stable sort keeps sunset.jpg (stored later) after Sunset.JPG.
    EXPECT_EQ(outFile("SUNSET.JPG"), jpeg2);
    EXPECT_EQ(outFile("SUNSET(2).JPG"), jpeg1);
    EXPECT_EQ(outFile("海边.JPG"), jpeg1);
    QImage bmp;
    ASSERT_TRUE(bmp.loadFromData(outFile("CAT.BMP"), "BMP"));
    EXPECT_EQ(bmp.convertToFormat(QImage::Format_RGB32), pattern(20, 10));
    EXPECT_EQ(outFile("CAT.TXT"), QByteArray("\xC3\xA8 \x80 \x95\x32\x82\x36\r\n"));
    EXPECT_EQ(outFile("SUNSET.TXT"), QByteArray("\r\n"));
    EXPECT_EQ(outFile("SUNSET(2).TXT"), QByteArray("first\r\n"));
    // The pane stays sorted by name on its last picture.
    EXPECT_TRUE(settled(pane).positionText().startsWith(QStringLiteral("5/5  40x30")));
    EXPECT_EQ(query.fieldText(album::kNameColumn), "海边.jpg");
}

// The memory of a picture whose files are made is read into again: every file still holds
// exactly its own picture, a small one after a large one included.
TEST_F(AlbumExportTest, PicturesReadIntoMemoryUsedBeforeAreWrittenByteForByte)
{
    std::vector<QByteArray> pictures;
    for (int i = 0; i < 12; ++i) {
        pictures.push_back(i % 3 == 0 ? jpegBytes(160, 120) : jpegBytes(8 + i, 6 + i));
        add(QStringLiteral("p%1.jpg").arg(i, 2, 10, QChar(u'0')), 1, pictures.back());
    }
    const album::AlbumExportResult result = run(false);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.written, 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(outFile(QStringLiteral("P%1.JPG").arg(i, 2, 10, QChar(u'0'))), pictures[size_t(i)]) << i;
}

TEST_F(AlbumExportTest, WithoutDescriptionsExistingFilesAreReplacedAndOthersLeftAlone)
{
    add("a.jpg", 1, jpegBytes(8, 8));
    add("A.JPG", 1, jpegBytes(9, 9));
    ASSERT_TRUE(writeFile(out + QStringLiteral("/A.JPG"), "old picture"));
    ASSERT_TRUE(writeFile(out + QStringLiteral("/A.TXT"), "old description"));
    const album::AlbumExportResult result = run(false);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.written, 2);
    EXPECT_EQ(written(), QStringList({"A(2).JPG", "A.JPG", "A.TXT"}));
    EXPECT_EQ(outFile("A.JPG"), jpegBytes(8, 8));
    EXPECT_EQ(outFile("A(2).JPG"), jpegBytes(9, 9));
    EXPECT_EQ(outFile("A.TXT"), "old description");
}

TEST_F(AlbumExportTest, AnEmptyAlbumWritesNothing)
{
    const album::AlbumExportResult result = run(true);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.pictures, 0);
    EXPECT_EQ(result.written, 0);
    EXPECT_EQ(progress.maximum, 0);
    EXPECT_TRUE(written().isEmpty());
}

TEST_F(AlbumExportTest, ANameThatIsNoPlainFileNameEndsTheExportAndNothingLeavesTheFolder)
{
    for (const QString& bad : {QStringLiteral("z/../../escaped.jpg"), QStringLiteral("zz.."),
                               QStringLiteral("."), QStringLiteral(".."), QString()}) {
        SCOPED_TRACE(qPrintable(bad));
        store::Connection(folder.storePath()).exec(QStringLiteral("delete from 图片"));
        for (const QString& name : QDir(out).entryList(QDir::Files))
            QFile::remove(out + u'/' + name);
        add("a.jpg", 1, jpegBytes(8, 8));
        add(bad, 1, jpegBytes(8, 8));
        if (bad == QLatin1String("zz..")) {
            add("zz..", 1, jpegBytes(8, 8));  // ZZ.. is plain, its run name ZZ.(2). too
        }
        try {
            run(true);
            EXPECT_EQ(bad, QLatin1String("zz.."));
        } catch (const textfile::FileError& error) {
            EXPECT_NE(bad, QLatin1String("zz.."));
            EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QStringLiteral("不能用作文件名")));
        }
        EXPECT_FALSE(QFile::exists(folder.file("ESCAPED.JPG")));
        EXPECT_FALSE(QFile::exists(folder.file("escaped.jpg")));
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
        if (!bad.isEmpty() && bad != QLatin1String(".") && bad != QLatin1String("..")) {
            EXPECT_TRUE(written().contains("A.JPG"));
        }
    }
}

// A bitmap stored top-down is written with its pixels, and a name holding a NUL is named in the
// error with the NUL made visible, the reason after it.
TEST_F(AlbumExportTest, TopDownBitmapsAreWrittenAndNulNamesAreShownWhole)
{
    add("top.bmp", 0, hostile_pictures::topDownBmp(pattern(20, 10)));
    ASSERT_TRUE(run(false).finished);
    QImage bmp;
    ASSERT_TRUE(bmp.loadFromData(outFile("TOP.BMP"), "BMP"));
    EXPECT_EQ(bmp.convertToFormat(QImage::Format_RGB32), pattern(20, 10));

    add(QString::fromUtf16(u"b\0c.jpg", 7), 1, jpegBytes(8, 8));
    try {
        run(false);
        ADD_FAILURE();
    } catch (const textfile::FileError& error) {
        const QString message = QString::fromUtf8(error.what());
        EXPECT_TRUE(message.startsWith(QStringLiteral("无法写入文件 ") + out + QStringLiteral("/b\\0c.jpg：")))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("不能用作文件名"))) << message.toStdString();
    }
}

// A picture that does not decode ends the export at its record, also one far beyond the
// first (the records ahead of the one written are checked meanwhile): the files before it are
// written, none after it, no temporary file is left, and the album stands on it and reports it
// once.
TEST_F(AlbumExportTest, APictureThatFailsToDecodeEndsTheExportAtThatRecord)
{
    const QByteArray good = jpegBytes(8, 8);
    const QByteArray photo = jpegBytes(640, 480);
    const std::vector<QByteArray> broken = {"no picture", photo.left(photo.size() / 2),
                                            photo.left(photo.size() - 200),
                                            hostile_pictures::jpegScanBomb(64, album::kMaxJpegScans)};
    constexpr int kRecords = 12;
    for (const int at : {1, 9}) {
        for (size_t kind = 0; kind < broken.size(); ++kind) {
            SCOPED_TRACE(testing::Message() << "record " << at << ", broken picture " << kind);
            store::Connection(folder.storePath()).exec(QStringLiteral("delete from 图片"));
            QDir(out).removeRecursively();
            QDir().mkpath(out);
            sink.messages.clear();
            progress = CountingProgress();
            for (int i = 0; i < kRecords; ++i)
                add(QStringLiteral("p%1.jpg").arg(i, 2, 10, QChar(u'0')), 1, i == at ? broken[kind] : good);
            const album::AlbumExportResult result = run(true);
            EXPECT_FALSE(result.finished);
            EXPECT_EQ(result.written, at);
            EXPECT_EQ(progress.steps, at - 1);
            ASSERT_EQ(sink.messages.size(), 1u);
            EXPECT_EQ(sink.messages.back().kind, MessageKind::ErrorReport);
            EXPECT_TRUE(sink.messages.back().text.startsWith(QStringLiteral("JPEG 图片数据")))
                << sink.messages.back().text.toStdString();
            EXPECT_EQ(written().size(), 2 * at);
            EXPECT_FALSE(written().contains(QStringLiteral("P%1.JPG").arg(at, 2, 10, QChar(u'0'))));
            EXPECT_TRUE(pane.positionText().startsWith(QStringLiteral("%1/%2  0x0").arg(at + 1).arg(kRecords)))
                << pane.positionText().toStdString();
        }
    }
}

// A picture that takes long to check (a scan bomb of 2000 × 2000 pixels) is checked on another
// thread while the window goes on answering, and it ends the export like any broken picture.
TEST_F(AlbumExportTest, TheWindowAnswersWhileAPictureIsChecked)
{
    add("a.jpg", 1, jpegBytes(8, 8));
    add("bomb.jpg", 1, hostile_pictures::jpegScanBomb(2000, 200));
    const album::AlbumExportResult result = run(false);
    EXPECT_FALSE(result.finished);
    EXPECT_EQ(result.written, 1);
    EXPECT_GT(progress.idles, 0);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_TRUE(sink.messages.back().text.contains(QStringLiteral("扫描多于 100 遍")));
    EXPECT_EQ(written(), QStringList({"A.JPG"}));
}

TEST_F(AlbumExportTest, AFileThatDoesNotReachTheDiskEndsTheExportWithItsReasonAndNoSuccess)
{
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        add(name, 1, jpegBytes(8, 8));
    openAlbum();
    TForm17 dialog(pane);
    dialog.ShellTreeView1Click(dialog.folderModel()->index(out));
    flushesLeft = 2;
    const textfile::FlushCall previous = textfile::setFlushCallForTesting(&flushThenFail);
    dialog.findChild<QPushButton*>(QStringLiteral("suiButton1"))->click();
    textfile::setFlushCallForTesting(previous);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages.back().kind, MessageKind::ErrorReport);
    EXPECT_TRUE(sink.messages.back().text.contains(out + QStringLiteral("/C.JPG")))
        << sink.messages.back().text.toStdString();
    // What reached the disk stays, and nothing half-written is left in the folder.
    EXPECT_EQ(written(), QStringList({"A.JPG", "B.JPG"}));
}

TEST_F(AlbumExportTest, TheDialogChecksTheFolderExportsAndReports)
{
    TForm17 dialog(pane);
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("suiEdit1"));
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("suiProgressBar1"));
    auto* check = dialog.findChild<QCheckBox*>(QStringLiteral("suiCheckBox1"));
    auto* exportButton = dialog.findChild<QPushButton*>(QStringLiteral("suiButton1"));
    EXPECT_EQ(edit->text(), QDir::homePath());
    EXPECT_FALSE(check->isChecked());
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(dialog.findChild<TsuiPanel*>()->height(), 192);

    add("b.jpg", 1, jpegBytes(8, 8));
    add("Fail", QVariant(), "x");
    openAlbum();
    for (const QString& wrong : {QString(), QStringLiteral("out"), folder.file("missing"),
                                 folder.storePath()}) {
        dialog.ShellTreeView1Click(dialog.folderModel()->index(wrong));
        edit->setText(wrong);
        exportButton->click();
        ASSERT_FALSE(sink.messages.empty());
        EXPECT_EQ(sink.messages.back().kind, MessageKind::Warning);
        EXPECT_EQ(sink.messages.back().text, "选择的导出文件夹不正确！");
    }
    EXPECT_TRUE(written().isEmpty());

    dialog.ShellTreeView1Click(dialog.folderModel()->index(out));
    EXPECT_EQ(edit->text(), out);
    check->setChecked(true);
    exportButton->click();
    EXPECT_EQ(sink.messages.back().kind, MessageKind::Information);
    EXPECT_EQ(sink.messages.back().text, "数据库中共有图片2张，本次成功导出1张！");
    EXPECT_EQ(written(), QStringList({"B.JPG", "B.TXT"}));
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_TRUE(exportButton->isEnabled());

    // A folder in the way of a picture file: the error report, the bar stays until closing.
    QDir(out).mkdir(QStringLiteral("A.JPG"));
    add("a.jpg", 1, jpegBytes(8, 8));
    const size_t before = sink.messages.size();
    exportButton->click();
    ASSERT_EQ(sink.messages.size(), before + 1);
    EXPECT_EQ(sink.messages.back().kind, MessageKind::ErrorReport);
    EXPECT_TRUE(sink.messages.back().text.contains(out + QStringLiteral("/A.JPG")));
    EXPECT_FALSE(bar->isHidden());
    dialog.findChild<QPushButton*>(QStringLiteral("suiButton2"))->click();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(edit->text(), out);
    EXPECT_TRUE(check->isChecked());

    // The first picture in name order fails to decode: reported, and the bar shows all the same.
    add("0.jpg", 1, "no picture");
    exportButton->click();
    EXPECT_EQ(sink.messages.back().kind, MessageKind::ErrorReport);
    EXPECT_FALSE(bar->isHidden());
}
