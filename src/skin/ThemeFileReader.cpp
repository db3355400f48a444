#include "ThemeFileReader.h"

#include <QFile>
#include <QSet>
#include <QtEndian>
#include <type_traits>

namespace {

// Entry names compare without regard to the case of ASCII letters.
QString nameKey(const QString& name)
{
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return key;
}

// Duplicate names: the first entry of a name is the one found.
template <typename Value>
void addFirst(QHash<QString, Value>& entries, const QString& key, const std::type_identity_t<Value>& value)
{
    if (!entries.contains(key))
        entries.insert(key, value);
}

template <typename Value>
std::optional<Value> lookUp(const QHash<QString, Value>& entries, const QString& name)
{
    const auto found = entries.constFind(nameKey(name));
    if (found == entries.constEnd())
        return std::nullopt;
    return *found;
}

class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes) : bytes_(bytes) {}

    bool holds(qint64 offset, qint64 size) const
    {
        return offset >= 0 && size >= 0 && offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    void require(qint64 offset, qint64 size, const char* what) const
    {
        if (!holds(offset, size))
            throw ThemeFileError(std::string("theme file: ") + what + " lies outside the file");
    }
    qint32 int32At(qint64 offset) const
    {
        require(offset, 4, "a number");
        return qFromLittleEndian<qint32>(bytes_.constData() + offset);
    }
    quint8 byteAt(qint64 offset) const
    {
        require(offset, 1, "a byte");
        return quint8(bytes_[offset]);
    }
    const char* at(qint64 offset) const { return bytes_.constData() + offset; }

private:
    const QByteArray& bytes_;
};

struct Record {
    QString name;
    quint8 type = 0;
    qint32 dataOffset = 0;
    qint32 dataSize = 0;
    qint32 next = 0;
};

Record readRecord(const ByteReader& reader, qint64 offset)
{
    reader.require(offset, TsuiThemeFileReader::kRecordSize, "an entry record");
    const char* name = reader.at(offset);
    const qsizetype nameLength = qstrnlen(name, TsuiThemeFileReader::kNameSize);
    Record record;
    record.name = QString::fromLatin1(name, nameLength);
    record.type = reader.byteAt(offset + 64);
    record.dataOffset = reader.int32At(offset + 65);
    record.dataSize = reader.int32At(offset + 69);
    record.next = reader.int32At(offset + 73);
    return record;
}

} // namespace

TsuiThemeFileReader::TsuiThemeFileReader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ThemeFileError("theme file: cannot be read");
    bytes_ = file.readAll();
    parse();
}

TsuiThemeFileReader TsuiThemeFileReader::fromBytes(QByteArray bytes)
{
    TsuiThemeFileReader reader;
    reader.bytes_ = std::move(bytes);
    reader.parse();
    return reader;
}

void TsuiThemeFileReader::parse()
{
    const ByteReader reader(bytes_);
    const qint32 headerLength = reader.int32At(12);
    if (headerLength != kHeaderLength)
        throw ThemeFileError("theme file: the header length is not 24");
    reader.require(0, headerLength, "the header");
    qint64 offset = reader.int32At(20);
    QSet<qint64> visited;
    // A record whose next offset is 0 ends the chain; its own fields are not used.
    for (Record record = readRecord(reader, offset); record.next != 0; record = readRecord(reader, offset)) {
        visited.insert(offset);
        if (visited.size() > kMaxRecords)
            throw ThemeFileError("theme file: the entry chain is too long");
        const QString key = nameKey(record.name);
        switch (record.type) {
        case Picture:
            reader.require(record.dataOffset, record.dataSize, "a picture");
            addFirst(pictures_, key, Slice{record.dataOffset, record.dataSize});
            break;
        case Integer:
            if (record.dataSize != 4)
                throw ThemeFileError("theme file: an integer entry is not 4 bytes");
            addFirst(integers_, key, reader.int32At(record.dataOffset));
            break;
        case Byte:
            if (record.dataSize != 1)
                throw ThemeFileError("theme file: a byte entry is not 1 byte");
            addFirst(byteValues_, key, reader.byteAt(record.dataOffset));
            break;
        case String:
            reader.require(record.dataOffset, record.dataSize, "a string");
            addFirst(strings_, key, QString::fromLatin1(reader.at(record.dataOffset), record.dataSize));
            break;
        default:
            break;
        }
        offset = record.next;
        if (visited.contains(offset))
            throw ThemeFileError("theme file: the entry chain loops");
    }
}

bool TsuiThemeFileReader::hasPicture(const QString& name) const
{
    return pictures_.contains(nameKey(name));
}

QByteArray TsuiThemeFileReader::pictureBytes(const QString& name) const
{
    const auto found = pictures_.constFind(nameKey(name));
    if (found == pictures_.constEnd())
        return {};
    return bytes_.mid(found->offset, found->size);
}

std::optional<qint32> TsuiThemeFileReader::integer(const QString& name) const { return lookUp(integers_, name); }
std::optional<quint8> TsuiThemeFileReader::byte(const QString& name) const { return lookUp(byteValues_, name); }
std::optional<QString> TsuiThemeFileReader::string(const QString& name) const { return lookUp(strings_, name); }

int TsuiThemeFileReader::entryCount() const
{
    return int(pictures_.size() + integers_.size() + byteValues_.size() + strings_.size());
}

