#include "TextFile.h"

#include "Gb18030.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace textfile {

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

const QString kCannotRead = QStringLiteral("无法读取文件");
const QString kCannotWrite = QStringLiteral("无法写入文件");
const QString kIsAFolder = QStringLiteral("这是一个文件夹");

FileError failure(const QString& what, const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("%1 %2：%3").arg(what, path, reason).toStdString());
}

template <typename Char>
std::vector<LineSpan> lineSpans(const Char* data, qsizetype size)
{
    std::vector<LineSpan> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != Char('\r') && data[i] != Char('\n'))
            continue;
        lines.push_back({start, i - start});
        if (data[i] == Char('\r') && i + 1 < size && data[i + 1] == Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.push_back({start, size - start});
    return lines;
}

// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no surrogates,
// nothing above U+10FFFF. Stops at the first fault, so a GB18030 file costs little.
bool isUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        uchar low = 0x80, high = 0xBF;  // allowed range of the first continuation byte
        if (*p >= 0xC2 && *p <= 0xDF) {
            more = 1;
        } else if (*p >= 0xE0 && *p <= 0xEF) {
            more = 2;
            low = *p == 0xE0 ? 0xA0 : 0x80;
            high = *p == 0xED ? 0x9F : 0xBF;
        } else if (*p >= 0xF0 && *p <= 0xF4) {
            more = 3;
            low = *p == 0xF0 ? 0x90 : 0x80;
            high = *p == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (end - p <= more || p[1] < low || p[1] > high)
            return false;
        for (int k = 2; k <= more; ++k)
            if ((p[k] & 0xC0) != 0x80)
                return false;
        p += more + 1;
    }
    return true;
}

} // namespace

QByteArray readBytes(const QString& path)
{
    if (QFileInfo(path).isDir())
        throw failure(kCannotRead, path, kIsAFolder);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw failure(kCannotRead, path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw failure(kCannotRead, path, file.errorString());
    return bytes;
}

QByteArrayView withoutByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith(kByteOrderMark) ? bytes.sliced(kByteOrderMark.size()) : bytes;
}

// Plain ASCII reads the same either way.
Encoding encodingOf(QByteArrayView bytes)
{
    return bytes.startsWith(kByteOrderMark) || isUtf8(bytes) ? Encoding::Utf8 : Encoding::Gb18030;
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    if (encoding == Encoding::Gb18030)
        return decodeGb18030(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless
                                                  | QStringConverter::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

QString decode(QByteArrayView bytes)
{
    return decode(withoutByteOrderMark(bytes), encodingOf(bytes));
}

std::vector<LineSpan> findLines(QByteArrayView bytes)
{
    return lineSpans(bytes.data(), bytes.size());
}

std::vector<LineSpan> findLines(QStringView text)
{
    return lineSpans(text.data(), text.size());
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    for (const LineSpan& line : findLines(text))
        lines.append(text.sliced(line.start, line.length).toString());
    return lines;
}

QStringList readLines(const QString& path)
{
    return splitLines(decode(readBytes(path)));
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(maxGb18030Size(text), Qt::Uninitialized);
    bytes.truncate(writeGb18030(bytes.data(), text) - bytes.constData());
    return bytes;
}

void LineEncoder::append(QStringView line)
{
    const qsizetype needed = written_ + maxGb18030Size(line) + 2;
    if (needed > bytes_.size())
        bytes_.resize(std::max(needed, 2 * bytes_.size()));
    char* end = writeGb18030(bytes_.data() + written_, line);
    *end++ = '\r';
    *end++ = '\n';
    written_ = end - bytes_.constData();
}

QByteArray LineEncoder::take()
{
    bytes_.truncate(written_);
    written_ = 0;
    return std::move(bytes_);
}

QByteArray joinLines(const QStringList& lines)
{
    LineEncoder encoder;
    for (const QString& line : lines)
        encoder.append(line);
    return encoder.take();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    if (QFileInfo(path).isDir())
        throw failure(kCannotWrite, path, kIsAFolder);
    // Written beside the target and renamed over it, so a failed write keeps the old file.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        throw failure(kCannotWrite, path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw failure(kCannotWrite, path, file.errorString());
}

void writeLines(const QString& path, const QStringList& lines)
{
    writeBytes(path, joinLines(lines));
}

} // namespace textfile
