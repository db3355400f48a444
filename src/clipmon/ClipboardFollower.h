// Follows every clipboard change into the clipboard history from its creation on, whether or
// not the monitor window has been made or is shown; the window shows the history it keeps.
#pragma once

#include "ClipboardHistory.h"

#include <QObject>

namespace clipmon {

class ClipboardFollower : public QObject {
    Q_OBJECT
public:
    // Joins the clipboard's change notices and takes what the clipboard holds now, as the first
    // notice after joining does.
    explicit ClipboardFollower(platform::Clipboard& clipboard);

    ClipboardHistory& history() { return history_; }
    const ClipboardHistory& history() const { return history_; }
    // Ends the following; the history keeps what it holds.
    void leaveClipboardChain();

signals:
    // After every notice, whether or not the history changed.
    void followed();

private:
    void clipboardChanged();

    ClipboardHistory history_;
    QMetaObject::Connection clipboardConnection_;
};

} // namespace clipmon
