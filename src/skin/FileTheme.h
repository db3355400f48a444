// Theme files: a chain of named entries (pictures, integers, bytes, strings) that stands in for
// the style table when a control's style is FromThemeFile.
#pragma once

#include "Style.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <memory>
#include <stdexcept>

// Raised when a theme file breaks the format: the file is then not used at all.
class ThemeFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole theme file at construction. Every offset and size is checked against the file;
// a looping or over-long chain, a header length other than 24 and an entry that runs past the
// end of the file make the whole file fail with ThemeFileError.
class TsuiThemeFileReader {
public:
    static constexpr int kHeaderLength = 24;
    static constexpr int kRecordSize = 77;
    static constexpr int kNameSize = 64;
    static constexpr int kMaxRecords = 100000;
    enum EntryType : quint8 { Picture = 0, Integer = 1, Byte = 2, String = 3 };

    explicit TsuiThemeFileReader(const QString& path);
    static TsuiThemeFileReader fromBytes(QByteArray bytes);

    // Lookups by entry name, without regard to letter case.
    bool hasPicture(const QString& name) const;
    QByteArray pictureBytes(const QString& name) const;
    // The "name=value" text of an entry, empty when there is none.
    QString integerEntry(const QString& name) const;
    QString byteEntry(const QString& name) const;
    QString stringEntry(const QString& name) const;
    int entryCount() const;

private:
    TsuiThemeFileReader() = default;
    void parse();

    struct Slice {
        qint64 offset = 0;
        qint64 size = 0;
    };
    QByteArray bytes_;
    QHash<QString, Slice> pictures_;
    QHash<QString, QString> integers_, bytesEntries_, strings_;
};

// A component that opens a theme file; controls with style FromThemeFile and this theme as
// their FileTheme draw from it.
class TsuiFileTheme : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ThemeFile READ ThemeFile WRITE setThemeFile)
public:
    explicit TsuiFileTheme(QObject* owner = nullptr);
    ~TsuiFileTheme() override;

    const QString& ThemeFile() const { return themeFile_; }
    // Opens the file at path, or a file of the same name in the program's own folder. A path
    // equal to the current one, a missing file or a file that breaks the format changes nothing.
    void setThemeFile(const QString& path);
    bool isOpened() const { return reader_ != nullptr; }
    const TsuiThemeFileReader* reader() const { return reader_.get(); }

    // The entry of the style table position's name: colour and integer from the integer
    // entries (-1 when absent), boolean from the byte entries (false when absent), picture from
    // the picture entries (whole with count 0, else frame index of count).
    TColor color(int pos) const;
    int integer(int pos) const;
    bool boolean(int pos) const;
    void bitmap(int pos, QImage* target, int index = 0, int count = 0) const;

signals:
    // Raised from the destructor, while the theme is still whole: users drop the reference.
    void destroying(TsuiFileTheme* theme);

private:
    void reapplyToOwnerControls();

    QString themeFile_;
    std::unique_ptr<TsuiThemeFileReader> reader_;
};
