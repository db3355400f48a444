// The store's tables: their names, their columns in stored order, creating an empty store and
// reporting what a store holds. Every other layer spells a table or a column through these.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace store {

class Connection;

// The materials book: one row per line of an entry, numbered from 0.
inline const QString kTextTable = QStringLiteral("文本");
enum TextTableColumn : int { kTitleColumn, kLineNumberColumn, kContentColumn };
inline const std::array<QString, 3> kTextColumnNames = {
    QStringLiteral("标题"), QStringLiteral("行数"), QStringLiteral("内容")};

// The album: one row per picture. The flag says how the data is stored (0 a BMP file, 1 a JPEG
// stream, none for a picture of no kind the album shows, which is stored under kFailName).
inline const QString kPictureTable = QStringLiteral("图片");
enum PictureTableColumn : int {
    kPictureNameColumn,
    kPictureDescriptionColumn,
    kPictureFlagColumn,
    kPictureDataColumn,
    kPictureRemarkColumn,
};
inline const std::array<QString, 5> kPictureColumnNames = {
    QStringLiteral("图片名称"), QStringLiteral("图片描述"), QStringLiteral("Isbmp"),
    QStringLiteral("Myimage"), QStringLiteral("备注")};
inline const QString kFailName = QStringLiteral("Fail");

inline const QString& columnName(TextTableColumn column)
{
    return kTextColumnNames[size_t(column)];
}
inline const QString& columnName(PictureTableColumn column)
{
    return kPictureColumnNames[size_t(column)];
}

// Makes both tables and the title index in an empty store, in one transaction, and marks the
// store as this program's, of version kStoreVersion.
void createTables(Connection& connection);
// Creates an empty store with both tables and the title index. Refuses a path that exists.
void createStore(const QString& path);
// The same in an empty file that exists already (the temporary file of a new store).
void fillEmptyFile(const QString& path);

// What the engine's integrity check finds wrong with the store; empty when it is sound. Throws
// when the file is no store at all.
QStringList integrityProblems(const QString& path);

// Adds the index that serves the title list to a store made before it existed, in a transaction
// of its own; a store without the text table is left to report itself when it is opened. Throws
// when the store cannot take it (read-only, locked, damaged).
void addTitleListIndex(const QString& path);

struct TableCount {
    QString table;
    qint64 rows = 0;
};

// Opens an existing store read-only and counts the rows of both tables; throws on any failure.
std::vector<TableCount> countRows(const QString& path);

} // namespace store
