// A window taken over by a WinXP frame panel for control tests, and a control's picture.
#pragma once

#include "skin/TsuiForm.h"

#include <QImage>
#include <QWidget>

namespace testing_support {

struct SkinnedWindow {
    QWidget window;
    TsuiForm* form = new TsuiForm(&window);
    explicit SkinnedWindow(QSize size = {500, 400})
    {
        window.resize(size);
        form->setGeometry(QRect(QPoint(0, 0), size));
    }
};

// What the control shows, as 32-bit pixels.
inline QImage grabbed(QWidget* control)
{
    return control->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace testing_support
