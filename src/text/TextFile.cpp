#include "TextFile.h"

#include "FileReplacement.h"
#include "Gb18030.h"

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace textfile {

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// Closes the descriptor however reading ends.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    Descriptor(Descriptor&& other) noexcept : descriptor_(other.release()) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }
    int release() { return std::exchange(descriptor_, -1); }

private:
    int descriptor_;
};

// Opens a regular file for reading; anything else (a folder, a device, a FIFO, a socket) is
// refused before a read could block on it.
Descriptor openRegularFile(const QString& path)
{
    Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0)
        throw readFailure(path, errno == EISDIR ? reason::kIsAFolder : reason::ofErrno(errno));
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throw readFailure(path, reason::ofErrno(errno));
    if (S_ISDIR(status.st_mode))
        throw readFailure(path, reason::kIsAFolder);
    if (!S_ISREG(status.st_mode))
        throw readFailure(path, reason::kNotARegularFile);
    return file;
}

// Reads until the end of the file, which may have grown since it was measured.
QByteArray readToEnd(int descriptor, qint64 expected, const QString& path)
{
    QByteArray bytes;
    qsizetype filled = 0;
    try {
        bytes.resize(qsizetype(expected) + 1);  // one more byte shows that the end was reached
        for (;;) {
            if (filled == bytes.size()) {
                if (bytes.size() > kLargestReadableFile)
                    throw readFailure(path, reason::kTooLarge);
                bytes.resize(2 * bytes.size());
            }
            const ssize_t got = ::read(descriptor, bytes.data() + filled, size_t(bytes.size() - filled));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                throw readFailure(path, reason::ofErrno(errno));
            if (got == 0)
                break;
            filled += got;
        }
    } catch (const std::bad_alloc&) {
        throw readFailure(path, reason::kOutOfMemory);
    }
    bytes.truncate(filled);
    return bytes;
}

bool hasBareLineFeed(QByteArrayView bytes)
{
    for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', i + 1))
        if (i == 0 || bytes[i - 1] != '\r')
            return true;
    return false;
}

// The line that starts at position, and where the next one starts; false at the end. A line
// end is CR LF, a lone CR or a lone LF; after the last one an empty remainder is no line.
template <typename Char>
bool nextLine(const Char* data, qsizetype size, qsizetype& position, LineSpan& line)
{
    if (position >= size)
        return false;
    qsizetype i = position;
    while (i < size && data[i] != Char('\r') && data[i] != Char('\n'))
        ++i;
    line = {position, i - position};
    if (i < size && data[i] == Char('\r') && i + 1 < size && data[i + 1] == Char('\n'))
        ++i;
    position = i + 1;
    return true;
}

template <typename Char>
std::vector<LineSpan> lineSpans(const Char* data, qsizetype size)
{
    std::vector<LineSpan> lines;
    qsizetype position = 0;
    LineSpan line;
    while (nextLine(data, size, position, line))
        lines.push_back(line);
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

// Opened without blocking, so that a FIFO with no writer is refused instead of waited for.
QByteArray readBytes(const QString& path)
{
    const Descriptor file = openRegularFile(path);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throw readFailure(path, reason::ofErrno(errno));
    if (status.st_size > kLargestReadableFile)
        throw readFailure(path, reason::kTooLarge);
    return readToEnd(file.get(), status.st_size, path);
}

QByteArrayView withoutByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith(kByteOrderMark) ? bytes.sliced(kByteOrderMark.size()) : bytes;
}

Encoding encodingOfOwnFile(QByteArrayView bytes)
{
    return bytes.startsWith(kByteOrderMark) ? Encoding::Utf8 : Encoding::Gb18030;
}

// Everything this program writes is well-formed GB18030 with CR LF line ends, so a file that
// could be one of them is one of them. Plain ASCII reads the same either way.
Encoding encodingOfUserFile(QByteArrayView bytes)
{
    if (bytes.startsWith(kByteOrderMark))
        return Encoding::Utf8;
    if (!isUtf8(bytes))
        return Encoding::Gb18030;
    if (hasBareLineFeed(bytes))
        return Encoding::Utf8;
    bool wellFormed = false;
    decodeGb18030(bytes, &wellFormed);
    return wellFormed ? Encoding::Gb18030 : Encoding::Utf8;
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    if (encoding == Encoding::Gb18030)
        return decodeGb18030(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless
                                                  | QStringConverter::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

QString decodeOwnFile(QByteArrayView bytes)
{
    return decode(withoutByteOrderMark(bytes), encodingOfOwnFile(bytes));
}

QString decodeUserFile(QByteArrayView bytes)
{
    return decode(withoutByteOrderMark(bytes), encodingOfUserFile(bytes));
}

std::vector<LineSpan> findLines(QByteArrayView bytes)
{
    return lineSpans(bytes.data(), bytes.size());
}

std::vector<LineSpan> findLines(QStringView text)
{
    return lineSpans(text.data(), text.size());
}

bool LineReader::next(QByteArrayView& line)
{
    LineSpan span;
    if (!nextLine(bytes_.data(), bytes_.size(), position_, span))
        return false;
    line = bytes_.sliced(span.start, span.length);
    return true;
}

namespace {
constexpr qsizetype kStreamPiece = qsizetype(4) << 20;
} // namespace

LineStream::LineStream(const QString& path) : path_(path), buffer_(kStreamPiece, Qt::Uninitialized)
{
    descriptor_ = openRegularFile(path).release();
}

LineStream::~LineStream()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

// Keeps the line begun and reads the next piece after it; the buffer grows only for a line longer
// than it. False at the end of the file.
bool LineStream::readMore()
{
    if (ended_)
        return false;
    const qsizetype kept = filled_ - start_;
    if (start_ > 0) {
        std::memmove(buffer_.data(), buffer_.constData() + start_, size_t(kept));
        start_ = 0;
        filled_ = kept;
    }
    if (buffer_.size() - filled_ < kStreamPiece / 2)
        buffer_.resize(std::max(2 * buffer_.size(), filled_ + kStreamPiece));
    for (;;) {
        const ssize_t got = ::read(descriptor_, buffer_.data() + filled_, size_t(buffer_.size() - filled_));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw readFailure(path_, reason::ofErrno(errno));
        filled_ += got;
        ended_ = got == 0;
        return got > 0;
    }
}

// A CR as the last byte read may be the first half of CR LF: the line is given out only once the
// next byte is known.
bool LineStream::next(QByteArrayView& line)
{
    for (;;) {
        const char* data = buffer_.constData();
        qsizetype i = start_ + scanned_;
        while (i < filled_ && data[i] != '\r' && data[i] != '\n')
            ++i;
        const bool crAtEnd = i + 1 == filled_ && data[i] == '\r' && !ended_;  // i < filled_
        if (i < filled_ && !crAtEnd) {
            line = QByteArrayView(data + start_, i - start_);
            start_ = i + (data[i] == '\r' && i + 1 < filled_ && data[i + 1] == '\n' ? 2 : 1);
            scanned_ = 0;
            return true;
        }
        scanned_ = i - start_;
        if (!readMore()) {
            if (start_ + scanned_ < filled_)
                continue;  // the CR held back ends its line after all
            if (start_ >= filled_)
                return false;
            line = QByteArrayView(buffer_.constData() + start_, filled_ - start_);
            start_ = filled_;
            scanned_ = 0;
            return true;
        }
    }
}

qsizetype countLines(QByteArrayView bytes)
{
    LineReader reader(bytes);
    qsizetype count = 0;
    for (QByteArrayView line; reader.next(line);)
        ++count;
    return count;
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    for (const LineSpan& line : findLines(text))
        lines.append(text.sliced(line.start, line.length).toString());
    return lines;
}

QStringList readOwnFileLines(const QString& path)
{
    return splitLines(decodeOwnFile(readBytes(path)));
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(maxGb18030Size(text), Qt::Uninitialized);
    bytes.truncate(writeGb18030(bytes.data(), text) - bytes.constData());
    return bytes;
}

char* LineEncoder::reserve(qsizetype lineBytes)
{
    const qsizetype needed = written_ + lineBytes + 2;
    if (needed > bytes_.size())
        bytes_.resize(std::max(needed, 2 * bytes_.size()));
    return bytes_.data() + written_;
}

void LineEncoder::endLine(char* end)
{
    *end++ = '\r';
    *end++ = '\n';
    written_ = end - bytes_.constData();
    Q_ASSERT(written_ <= bytes_.size());
}

void LineEncoder::append(QStringView line)
{
    endLine(writeGb18030(reserve(maxGb18030Size(line)), line));
}

bool LineEncoder::appendUtf8(QByteArrayView line)
{
    char* end = writeGb18030FromUtf8(reserve(maxGb18030SizeOfUtf8(line)), line);
    if (!end)
        return false;
    endLine(end);
    return true;
}

QByteArrayView Utf8Decoder::decode(QByteArrayView bytes, Encoding encoding)
{
    if (encoding == Encoding::Gb18030) {
        if (buffer_.size() < maxUtf8SizeOfGb18030(bytes))
            buffer_.resize(std::max(maxUtf8SizeOfGb18030(bytes), 2 * buffer_.size()));
        const char* end = writeUtf8FromGb18030(buffer_.data(), bytes);
        return QByteArrayView(buffer_.constData(), end - buffer_.constData());
    }
    if (bytes.isValidUtf8())
        return bytes;
    buffer_ = textfile::decode(bytes, encoding).toUtf8();
    return buffer_;
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

void writeBytes(const QString& path, QByteArrayView bytes)
{
    replaceFile(path, bytes);
}

void writeLines(const QString& path, const QStringList& lines)
{
    writeBytes(path, joinLines(lines));
}

} // namespace textfile
