// Whether a file is a store of this program with every column the program addresses: what the
// store tool's check reports beside the engine's own integrity check.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace store {

// Why the file at path is no store of this program: it is empty, no database of the store
// engine, marked as another program's, or holds neither table. Nothing when it is a store (then
// its tables are for missingColumns to judge). Only reads. Throws StoreError when the engine
// cannot open it.
std::optional<QString> whyNotAStore(const QString& path);

// The sentence naming the file at path as no store of this program, for the reason `why`.
QString notAStoreMessage(const QString& path, const QString& why);

// What the tables lack against the tables a new store is made with: a missing table, or a
// column missing or out of its place (the album addresses columns by position). Empty when each
// table has all its columns. Throws StoreError.
QStringList missingColumns(const QString& path);

} // namespace store
