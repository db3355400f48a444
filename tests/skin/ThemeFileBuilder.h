// Builds theme files for tests and for the fuzzer's seed corpus: a 24-byte header, the chain of
// 77-byte entry records ending in a record whose next offset is 0, then the entries' data.
#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

namespace testing_support {

inline void putInt32(QByteArray& bytes, qsizetype offset, qint32 value)
{
    if (bytes.size() < offset + 4)
        bytes.resize(offset + 4, '\0');
    qToLittleEndian(value, bytes.data() + offset);
}

class ThemeFileBuilder {
public:
    static constexpr int kHeader = 24;
    static constexpr int kRecord = 77;

    ThemeFileBuilder& picture(const QByteArray& name, const QByteArray& bytes) { return add(name, 0, bytes); }
    ThemeFileBuilder& integer(const QByteArray& name, qint32 value)
    {
        QByteArray data(4, '\0');
        putInt32(data, 0, value);
        return add(name, 1, data);
    }
    ThemeFileBuilder& byte(const QByteArray& name, quint8 value) { return add(name, 2, QByteArray(1, char(value))); }
    ThemeFileBuilder& string(const QByteArray& name, const QByteArray& text) { return add(name, 3, text); }
    // An entry of any type, with a size field that may disagree with the data.
    ThemeFileBuilder& add(const QByteArray& name, quint8 type, const QByteArray& data, qint32 size = -1)
    {
        entries_.append({name, type, data, size < 0 ? qint32(data.size()) : size});
        return *this;
    }

    // Offset of record i (the terminator is record entries().size()).
    static qint32 recordOffset(int i) { return kHeader + kRecord * i; }

    QByteArray build() const
    {
        const int records = int(entries_.size()) + 1;
        QByteArray file(recordOffset(records), '\0');
        file.replace(0, 12, QByteArray("MOZHOUTHEME\0", 12));
        putInt32(file, 12, kHeader);
        putInt32(file, 20, recordOffset(0));
        qint32 dataOffset = recordOffset(records);
        for (int i = 0; i < records; ++i) {
            const qint32 at = recordOffset(i);
            const bool last = i == records - 1;
            if (!last) {
                const Entry& entry = entries_[i];
                file.replace(at, qMin<qsizetype>(entry.name.size(), 64), entry.name.left(64));
                file[at + 64] = char(entry.type);
                putInt32(file, at + 65, dataOffset);
                putInt32(file, at + 69, entry.size);
                dataOffset += qint32(entry.data.size());
            }
            putInt32(file, at + 73, last ? 0 : recordOffset(i + 1));
        }
        for (const Entry& entry : entries_)
            file.append(entry.data);
        return file;
    }

private:
    struct Entry {
        QByteArray name;
        quint8 type;
        QByteArray data;
        qint32 size;
    };
    QList<Entry> entries_;
};

} // namespace testing_support
