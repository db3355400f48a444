#include "Statements.h"

namespace store::statements {

namespace {
QString pictureColumnName(PictureColumn column)
{
    return column == PictureColumn::Name ? QStringLiteral("图片名称") : QStringLiteral("图片描述");
}
} // namespace

Statement allTitles()
{
    return {QStringLiteral("select 标题 from 文本 where 行数=0 order by 标题 collate ZH"), {}};
}

Statement entryLinesInOrder(const QString& title)
{
    return {QStringLiteral("select * from 文本 where 标题=? order by 行数"), {title}};
}

Statement entryTextsInOrder(const QString& title)
{
    return {QStringLiteral("select 标题, 内容 from 文本 where 标题=? order by 行数"), {title}};
}

Statement entryRows(const QString& title)
{
    return {QStringLiteral("select * from 文本 where 标题=?"), {title}};
}

Statement fuzzyTitleSearch(const QString& text)
{
    return {QStringLiteral("select * from 文本 where 行数=0 and 标题 like ? order by 标题 collate ZH"),
            {QStringLiteral("%") + text + QStringLiteral("%")}};
}

Statement exactTitleSearch(const QString& text)
{
    return {QStringLiteral("select * from 文本 where 行数=0 and 标题=? order by 标题 collate ZH"),
            {text}};
}

Statement allEntryRows()
{
    return {QStringLiteral("select * from 文本"), {}};
}

Statement allPictures()
{
    return {QStringLiteral("select * from 图片"), {}};
}

Statement exactPictureSearch(PictureColumn column, const QString& text)
{
    return {QStringLiteral("select * from 图片 where %1=?").arg(pictureColumnName(column)), {text}};
}

Statement fuzzyPictureSearch(PictureColumn column, const QString& text)
{
    return {QStringLiteral("select * from 图片 where %1 like ?").arg(pictureColumnName(column)),
            {QStringLiteral("%") + text + QStringLiteral("%")}};
}

} // namespace store::statements
