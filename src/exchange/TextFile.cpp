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

template <typename Char, typename View>
std::vector<View> splitAtLineEnds(const Char* data, qsizetype size)
{
    std::vector<View> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != Char('\r') && data[i] != Char('\n'))
            continue;
        lines.emplace_back(data + start, i - start);
        if (data[i] == Char('\r') && i + 1 < size && data[i + 1] == Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.emplace_back(data + start, size - start);
    return lines;
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

QString decode(QByteArrayView bytes)
{
    const bool markedUtf8 = bytes.startsWith(kByteOrderMark);
    const QByteArrayView body = withoutByteOrderMark(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless
                                                  | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(body);
    // Plain ASCII reads the same either way, so valid UTF-8 needs no second look.
    if (markedUtf8 || !utf8.hasError())
        return text;
    return decodeGb18030(body);
}

std::vector<QByteArrayView> splitLines(QByteArrayView bytes)
{
    return splitAtLineEnds<char, QByteArrayView>(bytes.data(), bytes.size());
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    for (QStringView line : splitAtLineEnds<QChar, QStringView>(text.data(), text.size()))
        lines.append(line.toString());
    return lines;
}

QStringList readLines(const QString& path)
{
    return splitLines(decode(readBytes(path)));
}

QByteArray encode(QStringView text)
{
    QByteArray bytes;
    appendGb18030(bytes, text);
    return bytes;
}

void LineEncoder::append(QStringView line)
{
    appendGb18030(bytes_, line);
    bytes_ += "\r\n";
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
