// The strip of captioned tool buttons at the top of a main-window pane, over the theme's Top.bmp.
// Each button runs one command of the pane (see Commands.h).
#pragma once

#include "Controls.h"

#include <span>
#include <vector>

class TsuiToolButton;

namespace skin {

struct StripButton {
    int left;
    int width;
    const char* caption;
    const char* hint;
    const char* commandId;  // the pane's command that the button runs
};

class ToolbarStrip : public TImage {
    Q_OBJECT
public:
    // The buttons stand buttonTop pixels below the strip's top, buttonHeight high; each runs the
    // command of commandOwner named in its entry.
    ToolbarStrip(QWidget* parent, std::span<const StripButton> buttons, const QObject* commandOwner,
                 int buttonTop, int buttonHeight);

    TsuiToolButton* button(size_t index) const { return buttons_.at(index); }
    size_t buttonCount() const { return buttons_.size(); }

private:
    std::vector<TsuiToolButton*> buttons_;
};

} // namespace skin
