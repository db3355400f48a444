// The store's tables by name and their columns in stored order. Every other layer, and each part
// of the store that keeps something beside the rows, spells a table or a column through these.
#pragma once

#include <QString>
#include <array>

namespace store {

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

} // namespace store
