#include "ExchangeFile.h"

#include "text/TextFile.h"

#include <QFileInfo>

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

void walkEntryRows(const ExchangeFile& file, const RowVisitor& visit)
{
    textfile::LineReader reader(file.bytes);
    QByteArrayView line;
    reader.next(line);  // the stamp
    textfile::Utf8Decoder decoder;
    QByteArray title;
    int lineNumber = 0;
    while (reader.next(line)) {
        if (isTitleMarkerLine(line)) {
            title = decoder.decode(line.sliced(kTitleMarkerBytes.size()), file.encoding).toByteArray();
            lineNumber = 0;
        } else {
            visit(title, lineNumber++, decoder.decode(line, file.encoding));
        }
    }
}

} // namespace exchange
