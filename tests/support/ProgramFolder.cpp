#include "ProgramFolder.h"

#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QStringList>
#include <stdexcept>

namespace testing_support {

ProgramFolder::ProgramFolder(Store store) : previousDirectory_(QDir::currentPath())
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot make a temporary program folder");
    path_ = QDir(dir_.path()).canonicalPath();
    QDir(path_).mkpath(QStringLiteral("Data"));
    if (store == Store::Fresh)
        store::createStore(storePath());
    QDir::setCurrent(path_);
}

ProgramFolder::~ProgramFolder()
{
    QDir::setCurrent(previousDirectory_);
}

void addEntry(const QString& storePath, const QString& title, const QStringList& lines)
{
    store::Connection connection(storePath);
    connection.exec(QStringLiteral("begin"));
    store::SqliteStatement insert(connection, QStringLiteral("insert into 文本 values(?,?,?)"));
    for (int i = 0; i < lines.size(); ++i) {
        insert.reset();
        insert.bindAll({title, i, lines[i]});
        insert.step();
    }
    connection.exec(QStringLiteral("commit"));
}

void addPicture(const QString& storePath, const QString& name, const QString& description,
                int isBmp, const QByteArray& bytes)
{
    store::Connection connection(storePath);
    store::SqliteStatement insert(connection,
                                  QStringLiteral("insert into 图片 values(?,?,?,?,NULL)"));
    insert.bindAll({name, description, isBmp, bytes});
    insert.step();
}

QByteArray plainBitmap(int width, int height, Qt::GlobalColor colour)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bmp;
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace testing_support
