#include "Messages.h"

#include "MessageEcho.h"

#include <QMessageBox>

namespace skin {

namespace {
MessageSink* currentSink = nullptr;
} // namespace

void setMessageSink(MessageSink* sink)
{
    currentSink = sink;
}

MessageSink* messageSink()
{
    return currentSink;
}

// A sentence that ends in Chinese (or in a full-width bracket) takes the Chinese full stop; one
// that ends in Latin text the ASCII one.
QString errorReportText(const QString& message)
{
    static const QString kClosingMarks = QStringLiteral(".。!！?？");
    if (message.isEmpty() || kClosingMarks.contains(message.back()))
        return message;
    return message + (message.back().unicode() < 0x80 ? u'.' : u'。');
}

void showErrorReport(const QString& message)
{
    showErrorBox(errorReportText(message));
}

void showErrorBox(const QString& text)
{
    const ShownMessage report{kApplicationTitle, text, MessageKind::ErrorReport};
    echoMessage(report);
    if (currentSink) {
        currentSink->take(report);
        return;
    }
    QMessageBox box(QMessageBox::Critical, report.caption, report.text, QMessageBox::Ok);
    box.exec();
}

} // namespace skin
