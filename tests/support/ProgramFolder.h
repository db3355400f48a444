// A temporary program folder for one test: the current directory while the test runs, with
// Data/current.mdb made by the store tool's code unless asked otherwise.
#pragma once

#include "platform/ProgramFolder.h"

#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class ProgramFolder {
public:
    enum class Store { Fresh, None };
    explicit ProgramFolder(Store store = Store::Fresh);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const QString& path() const { return path_; }
    platform::ProgramFolder program() const { return platform::ProgramFolder(path_); }
    QString storePath() const { return program().store(); }
    QString file(const QString& relative) const { return program().file(relative); }

private:
    QTemporaryDir dir_;
    QString path_;
    QString previousDirectory_;
};

// Adds entries (title, lines) to a store directly, one row per line, in one transaction.
void addEntry(const QString& storePath, const QString& title, const QStringList& lines);
// Adds a picture record directly.
void addPicture(const QString& storePath, const QString& name, const QString& description,
                int isBmp, const QByteArray& bytes);
// A BMP file of a plain picture of the given size and colour.
QByteArray plainBitmap(int width, int height, Qt::GlobalColor colour);
// Reads a whole file's bytes (empty when it cannot be read).
QByteArray readBytes(const QString& path);

} // namespace testing_support
