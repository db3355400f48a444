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

QString errorReportText(const QString& message)
{
    if (message.endsWith(u'.') || message.endsWith(u'。'))
        return message;
    return message + u'.';
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
