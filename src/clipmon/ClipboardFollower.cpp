#include "ClipboardFollower.h"

#include "platform/Clipboard.h"
#include "skin/Messages.h"

namespace clipmon {

ClipboardFollower::ClipboardFollower(platform::Clipboard& clipboard) : history_(clipboard)
{
    clipboardConnection_ = connect(&clipboard, &platform::Clipboard::changed, this,
                                   &ClipboardFollower::clipboardChanged);
    clipboardChanged();
}

void ClipboardFollower::leaveClipboardChain()
{
    disconnect(clipboardConnection_);
}

// A failed read is reported and changes nothing.
void ClipboardFollower::clipboardChanged()
{
    skin::guarded([this] { history_.clipboardChanged(); });
    emit followed();
}

} // namespace clipmon
