#include "Statements.h"

#include "Schema.h"

namespace store::statements {

namespace {
QString pictureColumnName(PictureColumn column)
{
    return columnName(column == PictureColumn::Name ? kPictureNameColumn : kPictureDescriptionColumn);
}

// A template over the text table: %1 the table, %2 标题, %3 行数, %4 内容; a template may leave
// any of them out (QString::arg would warn of each one missing).
QString overTextTable(QString sql)
{
    const QString names[] = {kTextTable, columnName(kTitleColumn), columnName(kLineNumberColumn),
                             columnName(kContentColumn)};
    for (int i = 0; i < 4; ++i)
        sql.replace(u'%' + QString::number(i + 1), names[i]);
    return sql;
}
} // namespace

Statement allTitles()
{
    return {QStringLiteral("select %2 from %1 where %3=0 order by %2 collate ZH")
                .arg(kTextTable, columnName(kTitleColumn), columnName(kLineNumberColumn)),
            {}};
}

Statement entryLinesInOrder(const QString& title)
{
    return {overTextTable(QStringLiteral("select * from %1 where %2=? order by %3")), {title}};
}

Statement entryTextsInOrder(const QString& title)
{
    return {overTextTable(QStringLiteral("select %2, %4 from %1 where %2=? order by %3")), {title}};
}

Statement entryRows(const QString& title)
{
    return {overTextTable(QStringLiteral("select * from %1 where %2=?")), {title}};
}

Statement fuzzyTitleSearch(const QString& text)
{
    return {overTextTable(
                QStringLiteral("select * from %1 where %3=0 and %2 like ? order by %2 collate ZH")),
            {QStringLiteral("%") + text + QStringLiteral("%")}};
}

Statement exactTitleSearch(const QString& text)
{
    return {overTextTable(QStringLiteral("select * from %1 where %3=0 and %2=? order by %2 collate ZH")),
            {text}};
}

Statement allEntryRows()
{
    return {QStringLiteral("select * from %1").arg(kTextTable), {}};
}

Statement allPictures()
{
    return {QStringLiteral("select * from %1").arg(kPictureTable), {}};
}

Statement exactPictureSearch(PictureColumn column, const QString& text)
{
    return {QStringLiteral("select * from %1 where %2=?").arg(kPictureTable, pictureColumnName(column)),
            {text}};
}

Statement fuzzyPictureSearch(PictureColumn column, const QString& text)
{
    return {QStringLiteral("select * from %1 where %2 like ?").arg(kPictureTable, pictureColumnName(column)),
            {QStringLiteral("%") + text + QStringLiteral("%")}};
}

} // namespace store::statements
