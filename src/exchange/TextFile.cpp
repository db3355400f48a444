#include "TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace textfile {

namespace {

constexpr char kGb18030[] = "GB18030";
constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");
constexpr auto kWholeInput = QStringConverter::Flag::Stateless;
constexpr QChar kEuro(0x20AC);
constexpr char kEuroIn936 = '\x80';

const QString kCannotRead = QStringLiteral("无法读取文件");
const QString kCannotWrite = QStringLiteral("无法写入文件");
const QString kIsAFolder = QStringLiteral("这是一个文件夹");

FileError failure(const QString& what, const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("%1 %2：%3").arg(what, path, reason).toStdString());
}

[[noreturn]] void converterMissing()
{
    throw std::runtime_error("this Qt build has no GB18030 converter");
}

// The converter leaves an unfinished sequence at the very end out of its result; a line end
// after it makes it an error that shows as U+FFFD, and is taken off again.
QString decodeGb18030Run(QByteArrayView bytes)
{
    QStringDecoder decoder(kGb18030, kWholeInput);
    if (!decoder.isValid())
        converterMissing();
    if (bytes.isEmpty() || bytes.back() == '\n' || bytes.back() == '\r')
        return decoder.decode(bytes);
    QByteArray ended(bytes.data(), bytes.size() + 1);
    ended.back() = '\n';
    QString text = decoder.decode(ended);
    text.chop(1);
    return text;
}

bool isByteIn(QByteArrayView bytes, qsizetype i, uchar low, uchar high)
{
    return i < bytes.size() && uchar(bytes[i]) >= low && uchar(bytes[i]) <= high;
}

// Length of the character that starts at i: one byte, a lead and a trail byte, or four bytes.
qsizetype characterLength(QByteArrayView bytes, qsizetype i)
{
    if (!isByteIn(bytes, i, 0x81, 0xFE))
        return 1;
    if (isByteIn(bytes, i + 1, 0x30, 0x39))
        return isByteIn(bytes, i + 2, 0x81, 0xFE) && isByteIn(bytes, i + 3, 0x30, 0x39) ? 4 : 1;
    return isByteIn(bytes, i + 1, 0x40, 0x7E) || isByteIn(bytes, i + 1, 0x80, 0xFE) ? 2 : 1;
}

// Code page 936 has the euro sign as the single byte 0x80, which GB18030 lacks; it is read as
// the euro sign wherever it stands as a character of its own.
QString decodeGb18030(QByteArrayView bytes)
{
    if (!bytes.contains(kEuroIn936))
        return decodeGb18030Run(bytes);
    QString text;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < bytes.size(); i += characterLength(bytes, i)) {
        if (bytes[i] != kEuroIn936)
            continue;
        text += decodeGb18030Run(bytes.sliced(runStart, i - runStart));
        text += kEuro;
        runStart = i + 1;
    }
    return text + decodeGb18030Run(bytes.sliced(runStart));
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
    QStringDecoder utf8(QStringDecoder::Utf8, kWholeInput | QStringConverter::Flag::ConvertInitialBom);
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
    QStringEncoder encoder(kGb18030, kWholeInput);
    if (!encoder.isValid())
        converterMissing();
    if (!text.contains(kEuro))
        return encoder.encode(text);
    // The euro sign is written as code page 936 has it, so that the file reads there unchanged.
    const QList<QStringView> runs = text.split(kEuro);
    QByteArray bytes = encoder.encode(runs.first());
    for (qsizetype i = 1; i < runs.size(); ++i) {
        bytes += kEuroIn936;
        bytes += encoder.encode(runs[i]);
    }
    return bytes;
}

QByteArray joinLines(const QStringList& lines)
{
    static const QString kLineEnd = QStringLiteral("\r\n");
    qsizetype length = 0;
    for (const QString& line : lines)
        length += line.size() + kLineEnd.size();
    QString text;
    text.reserve(length);
    for (const QString& line : lines) {
        text += line;
        text += kLineEnd;
    }
    return encode(text);
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
