#include "ExchangeFile.h"

#include "TextFile.h"

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

bool isTitleMarkerLine(QStringView line)
{
    return line.startsWith(kTitleMarker);
}

QString withExchangeExtension(const QString& chosen)
{
    const QString name = QFileInfo(chosen).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    // No letter outside ASCII folds to m or z, so a case-blind compare is the ASCII one.
    return extension.compare(kExtension, Qt::CaseInsensitive) == 0 ? chosen : chosen + kExtension;
}

// The marker is plain ASCII and both encodings keep ASCII bytes as they are and restart at every
// line end, so a decoded line begins with the marker exactly when its bytes do.
ExchangeFile parseExchangeFile(const QByteArray& bytes)
{
    const QByteArrayView body = textfile::withoutByteOrderMark(bytes);
    const std::vector<textfile::LineSpan> raw = textfile::findLines(body, 2);
    ExchangeFile file;
    file.text = textfile::decode(body);
    file.lines = textfile::findLines(file.text);
    file.accepted = raw.size() >= 2 && raw[0].length == kStampLength
                    && body.sliced(raw[1].start, raw[1].length).startsWith(kTitleMarker.toLatin1());
    return file;
}

ExchangeFile readExchangeFile(const QString& path)
{
    return parseExchangeFile(textfile::readBytes(path));
}

void walkEntryRows(const ExchangeFile& file, const RowVisitor& visit)
{
    QString title;
    int lineNumber = 0;
    for (qsizetype i = 1; i < file.lineCount(); ++i) {
        const QStringView line = file.line(i);
        if (isTitleMarkerLine(line)) {
            title = line.sliced(kTitleMarker.size()).toString();
            lineNumber = 0;
        } else {
            visit(title, lineNumber++, line);
        }
    }
}

} // namespace exchange
