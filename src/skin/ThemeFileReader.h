// Theme files: a header and a chain of 77-byte entry records naming pictures, integers, bytes
// and strings, which stand in for the style table when a control's style is FromThemeFile.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
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

    // Lookups by entry name, without regard to letter case; nothing when the file has no entry
    // of that name and type.
    bool hasPicture(const QString& name) const;
    QByteArray pictureBytes(const QString& name) const;
    std::optional<qint32> integer(const QString& name) const;
    std::optional<quint8> byte(const QString& name) const;
    std::optional<QString> string(const QString& name) const;
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
    QHash<QString, qint32> integers_;
    QHash<QString, quint8> byteValues_;
    QHash<QString, QString> strings_;
};
