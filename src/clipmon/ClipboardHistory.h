// The clipboard monitor's history: the current clipboard content and the three before it, each
// a text or a picture. It has no window; the monitor window shows it.
#pragma once

#include <QImage>
#include <QString>
#include <array>

namespace platform {
class Clipboard;
}

namespace clipmon {

struct HistorySlot {
    enum class Kind { Empty, Text, Picture };
    Kind kind = Kind::Empty;
    QString text;    // kept whole, however long
    QImage picture;  // shared, not copied, when the content moves to the next slot
};

class ClipboardHistory {
public:
    static constexpr int kSlotCount = 4;

    explicit ClipboardHistory(platform::Clipboard& clipboard);

    // How many slots are in use, 0 to 4; slots 1..fillLevel() hold content.
    int fillLevel() const { return fillLevel_; }
    // Slot 1 is the current content, slot 4 the oldest.
    const HistorySlot& slot(int number) const;

    // The clipboard changed. When it holds text or a picture, the slots move down by one (the
    // oldest drops out at a full history) and slot 1 takes the new content, the picture when it
    // holds both. Any other content changes nothing. A failed read is thrown and changes
    // nothing either. Where the clipboard repeats its notices without a change (Wayland), a
    // notice of the content slot 1 already holds changes nothing.
    void clipboardChanged();
    // Puts the content of slot number (2 to 4) back on the clipboard; the change that follows
    // brings it into slot 1. An empty slot puts nothing.
    void restore(int number);
    // Empties the clipboard, then every slot.
    void clear();

private:
    void shiftDown();
    HistorySlot& slotAt(int number);

    platform::Clipboard& clipboard_;
    std::array<HistorySlot, kSlotCount> slots_{};
    int fillLevel_ = 0;
};

} // namespace clipmon
