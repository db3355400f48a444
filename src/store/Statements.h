// Every statement the program issues. Each keeps the meaning of its fixed template; the user's
// text is always a bound parameter, never part of the SQL.
#pragma once

#include <QString>
#include <QVariantList>

namespace store {

struct Statement {
    QString sql;
    QVariantList params;
    bool operator==(const Statement&) const = default;
};

namespace statements {

// The title list: one row per entry (its line 0), in title order.
Statement allTitles();
// The rows of one entry in line order, for reading and for export.
Statement entryLinesInOrder(const QString& title);
// The titles and line texts of one entry's rows in line order, for the export.
Statement entryTextsInOrder(const QString& title);
// The rows of one entry in any order: the duplicate test, the delete, the replace on save.
Statement entryRows(const QString& title);
// Titles matching "%" + text + "%"; % and _ typed by the user keep their pattern meaning.
Statement fuzzyTitleSearch(const QString& text);
// Titles equal to text (Latin letters compared without case).
Statement exactTitleSearch(const QString& text);
// Every row of the book, to be replaced by an import.
Statement allEntryRows();

// The whole album.
Statement allPictures();
enum class PictureColumn { Name, Description };
Statement exactPictureSearch(PictureColumn column, const QString& text);
Statement fuzzyPictureSearch(PictureColumn column, const QString& text);

} // namespace statements
} // namespace store
