#include "ExchangeFile.h"

#include "text/TextFile.h"

#include <QFileInfo>
#include <QHash>

namespace exchange {

QString formatStamp(const QDate& date, const QTime& time)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")) + u' '
           + time.toString(QStringLiteral("HH:mm:ss"));
}

QString currentStamp()
{
    const QDate date = QDate::currentDate();
    const QTime time = QTime::currentTime();
    return formatStamp(date, time);
}

QString titleMarkerLine(const QString& title)
{
    return kTitleMarker + title;
}

bool isTitleMarkerLine(QByteArrayView line)
{
    return line.startsWith(kTitleMarkerBytes);
}

QString withExchangeExtension(const QString& chosen)
{
    const QString name = QFileInfo(chosen).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    // No letter outside ASCII folds to m or z, so a case-blind compare is the ASCII one.
    return extension.compare(kExtension, Qt::CaseInsensitive) == 0 ? chosen : chosen + kExtension;
}

QByteArrayView ExchangeFile::rawLine(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < lines);
    textfile::LineReader reader(bytes);
    QByteArrayView line;
    for (qsizetype k = 0; k <= i; ++k)
        reader.next(line);
    return line;
}

// The byte-order mark is cut from the buffer itself: a file read whole is not copied.
ExchangeFile parseExchangeFile(QByteArray bytes)
{
    ExchangeFile file;
    file.encoding = textfile::encodingOfOwnFile(bytes);
    const qsizetype mark = bytes.size() - textfile::withoutByteOrderMark(bytes).size();
    bytes.remove(0, mark);
    file.bytes = std::move(bytes);
    file.lines = textfile::countLines(file.bytes);
    file.accepted = file.lineCount() >= 2 && file.rawLine(0).size() == kStampLength
                    && isTitleMarkerLine(file.rawLine(1));
    return file;
}

ExchangeFile readExchangeFile(const QString& path)
{
    return parseExchangeFile(textfile::readBytes(path));
}

ExchangeFile streamExchangeFile(const QString& path)
{
    textfile::LineStream stream(path);
    QByteArray head;
    qsizetype lines = 0;
    for (QByteArrayView line; stream.next(line); ++lines)
        if (lines < 2) {
            head += line;
            head += "\r\n";
        }
    ExchangeFile file = parseExchangeFile(std::move(head));
    Q_ASSERT(file.lines == std::min<qsizetype>(lines, 2));
    file.lines = lines;
    file.path = path;
    return file;
}

namespace {

// How much of a title a message shows.
constexpr qsizetype kShownTitleLength = 40;

QString shownTitle(QByteArrayView utf8)
{
    QString title = QString::fromUtf8(utf8);
    if (title.size() > kShownTitleLength)
        title = title.left(kShownTitleLength) + u'…';
    return title.replace(QChar(u'\0'), QStringLiteral("\\0"));
}

// The titles met so far, by their text, with the bytes and the line each was first met in.
class TitleBytes {
public:
    void check(const QByteArray& text, QByteArrayView bytes, qsizetype line)
    {
        const auto first = seen_.constFind(text);
        if (first == seen_.cend()) {
            seen_.insert(text, {bytes.toByteArray(), line});
            return;
        }
        if (first->bytes == bytes)
            return;
        throw ImportRefused(
            QStringLiteral("无法导入：第 %1 行与第 %2 行的标题字节不同，却都读作“%3”（文件中有不成文字的字节），"
                           "导入会把两条资料并成一条。请先在文件中改正其中一个标题")
                .arg(line)
                .arg(first->line)
                .arg(shownTitle(text))
                .toStdString());
    }

private:
    struct First {
        QByteArray bytes;
        qsizetype line = 0;
    };
    QHash<QByteArray, First> seen_;
};

} // namespace

namespace {

QString changedSinceRead(const QString& path)
{
    return QStringLiteral("无法导入：文件“%1”在读入之后被改动过，资料本保持原样。请重新选择文件").arg(path);
}

// The lines of a file read from its path, checked against what was read of it before: the same
// first two lines (a byte-order mark aside) and as many lines in all.
class RereadLines {
public:
    explicit RereadLines(const ExchangeFile& file) : file_(file), stream_(file.path) {}
    bool next(QByteArrayView& line)
    {
        if (!stream_.next(line)) {
            if (read_ != file_.lines)
                throw ImportRefused(changedSinceRead(file_.path).toStdString());
            return false;
        }
        if (read_ == 0)
            line = textfile::withoutByteOrderMark(line);
        if (read_ < 2 && line != file_.rawLine(read_))
            throw ImportRefused(changedSinceRead(file_.path).toStdString());
        ++read_;
        return true;
    }

private:
    const ExchangeFile& file_;
    textfile::LineStream stream_;
    qsizetype read_ = 0;
};

template <typename Lines>
void walkLines(const ExchangeFile& file, Lines& reader, const RowVisitor& visit)
{
    QByteArrayView line;
    reader.next(line);  // the stamp
    qsizetype lineNumberInFile = 1;
    textfile::Utf8Decoder decoder;
    TitleBytes titles;
    QByteArray title;
    int lineNumber = 0;
    while (reader.next(line)) {
        ++lineNumberInFile;
        if (isTitleMarkerLine(line)) {
            const QByteArrayView bytes = line.sliced(kTitleMarkerBytes.size());
            title = decoder.decode(bytes, file.encoding).toByteArray();
            titles.check(title, bytes, lineNumberInFile);
            lineNumber = 0;
        } else {
            visit(title, lineNumber++, decoder.decode(line, file.encoding));
        }
    }
}

} // namespace

void walkEntryRows(const ExchangeFile& file, const RowVisitor& visit)
{
    if (file.path.isEmpty()) {
        textfile::LineReader reader(file.bytes);
        walkLines(file, reader, visit);
    } else {
        RereadLines reader(file);
        walkLines(file, reader, visit);
    }
}

} // namespace exchange
