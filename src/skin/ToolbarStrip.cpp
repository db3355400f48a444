#include "ToolbarStrip.h"

#include "Commands.h"
#include "TsuiButton.h"

namespace skin {

namespace {
// The strip's colour until Top.bmp is loaded.
const QColor kStripColor(58, 110, 165);
} // namespace

ToolbarStrip::ToolbarStrip(QWidget* parent, std::span<const StripButton> buttons,
                           const QObject* commandOwner, int buttonTop, int buttonHeight)
    : TImage(parent, kStripColor)
{
    for (const StripButton& place : buttons) {
        auto* button = new TsuiToolButton(QString::fromUtf8(place.caption), this);
        button->setGeometry(place.left, buttonTop, place.width, buttonHeight);
        button->setToolTip(QString::fromUtf8(place.hint));
        runsCommand(button, command(commandOwner, place.commandId));
        buttons_.push_back(button);
    }
}

} // namespace skin
