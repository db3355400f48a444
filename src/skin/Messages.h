// How the program speaks to the user outside its windows' own controls: the generic error
// report, the guard that every event handler runs its body through, and the process-wide sink
// that records message boxes instead of showing them (used by the tests).
#pragma once

#include "ShownMessage.h"

#include <QString>
#include <exception>
#include <vector>

namespace skin {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Takes the message in place of a shown box; returns the modal result the box would give.
    virtual int take(const ShownMessage& message) = 0;
};

// Installs (or, with nullptr, removes) the process-wide sink.
void setMessageSink(MessageSink* sink);
MessageSink* messageSink();

// A sink that keeps every message and answers each with a fixed modal result.
class RecordingSink : public MessageSink {
public:
    explicit RecordingSink(int answer = 1) : answer_(answer) { setMessageSink(this); }
    ~RecordingSink() override { setMessageSink(nullptr); }
    int take(const ShownMessage& message) override
    {
        messages.push_back(message);
        return answer_;
    }
    std::vector<ShownMessage> messages;

private:
    int answer_;
};

// The caption of the generic error report and of the taskbar button.
inline const QString kApplicationTitle = QStringLiteral("墨舟札记");

// What the generic report says of a failure that carries no message of its own.
inline const QString kUnknownFailure = QStringLiteral("发生未知错误");

// The failure's own message, with a full stop added when it does not end in one: "。" after
// Chinese, "." after Latin text.
QString errorReportText(const QString& message);
// The toolkit's standard message box: caption "墨舟札记", error icon, one OK button.
void showErrorReport(const QString& message);

// An error box with exactly the given text, for a setting a control refuses.
void showErrorBox(const QString& text);

// Runs body; a failure it raises ends the handling of the event and is shown in the generic
// error report. Returns false when body failed.
template <typename Body>
bool guarded(Body&& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& failure) {
        showErrorReport(QString::fromUtf8(failure.what()));
    } catch (...) {
        showErrorReport(kUnknownFailure);
    }
    return false;
}

} // namespace skin
