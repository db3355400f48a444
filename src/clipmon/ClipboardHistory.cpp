#include "ClipboardHistory.h"

#include "platform/Clipboard.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>
#include <utility>

namespace clipmon {

namespace {
// Slots 1 to level hold content and the ones after them none: what every change keeps.
[[maybe_unused]] bool filledExactlyTo(const std::array<HistorySlot, ClipboardHistory::kSlotCount>& held,
                                      int level)
{
    for (int i = 0; i < int(held.size()); ++i) {
        if ((i < level) != (held[size_t(i)].kind != HistorySlot::Kind::Empty))
            return false;
    }
    return true;
}

bool sameContent(const HistorySlot& a, const HistorySlot& b)
{
    if (a.kind != b.kind)
        return false;
    if (a.kind == HistorySlot::Kind::Picture)
        return a.picture.cacheKey() == b.picture.cacheKey() || a.picture == b.picture;
    return a.text == b.text;
}
} // namespace

ClipboardHistory::ClipboardHistory(platform::Clipboard& clipboard) : clipboard_(clipboard) {}

const HistorySlot& ClipboardHistory::slot(int number) const
{
    if (number < 1 || number > kSlotCount)
        throw std::out_of_range("history slot out of range");
    return slots_[size_t(number - 1)];
}

HistorySlot& ClipboardHistory::slotAt(int number)
{
    return const_cast<HistorySlot&>(std::as_const(*this).slot(number));
}

void ClipboardHistory::clipboardChanged()
{
    const bool holdsText = clipboard_.hasText();
    const bool holdsPicture = clipboard_.hasImage();
    if (!holdsText && !holdsPicture)
        return;
    // Read before anything moves, so that a failed read leaves the history as it was. A
    // clipboard with both ends as a picture, so its text is not read.
    HistorySlot incoming = holdsPicture
                               ? HistorySlot{HistorySlot::Kind::Picture, {}, clipboard_.image()}
                               : HistorySlot{HistorySlot::Kind::Text, clipboard_.text(), {}};
    // Where notices repeat, the current content again is no new copy. (A copy of the same
    // content cannot be told from a repeat there, so it is not kept twice either.)
    if (clipboard_.repeatsUnchangedContent() && fillLevel_ > 0 && sameContent(incoming, slot(1)))
        return;
    if (fillLevel_ == 0)
        fillLevel_ = 1;
    else
        shiftDown();
    slotAt(1) = std::move(incoming);
    Q_ASSERT(filledExactlyTo(slots_, fillLevel_));
}

// Slot k takes slot k - 1's content from the bottom up; a full history drops its oldest.
void ClipboardHistory::shiftDown()
{
    fillLevel_ = std::min(fillLevel_ + 1, kSlotCount);
    for (int number = fillLevel_; number > 1; --number)
        slotAt(number) = slotAt(number - 1);
    assert(fillLevel_ >= 2 && fillLevel_ <= kSlotCount);
}

void ClipboardHistory::restore(int number)
{
    if (number < 2)
        throw std::out_of_range("only an older slot can be restored");
    // A copy: putting it on the clipboard moves the slots before this returns.
    const HistorySlot content = slot(number);
    if (content.kind == HistorySlot::Kind::Picture)
        clipboard_.setImage(content.picture);
    else if (content.kind == HistorySlot::Kind::Text)
        clipboard_.setText(content.text);
}

void ClipboardHistory::clear()
{
    clipboard_.clear();
    slots_ = {};
    fillLevel_ = 0;
}

} // namespace clipmon
