// Making an empty store with its tables, and reporting what a store holds.
#pragma once

#include "Tables.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace store {

class Connection;

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
void addTitleListIndex(Connection& connection);

struct TableCount {
    QString table;
    qint64 rows = 0;
};

// Opens an existing store read-only and counts the rows of both tables; throws on any failure.
std::vector<TableCount> countRows(const QString& path);

} // namespace store
