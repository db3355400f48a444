#include "ToolWindow.h"

#include "TsuiForm.h"

#include <QCloseEvent>
#include <QWindow>

namespace skin {

ToolWindow::ToolWindow(const QString& title)
{
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    suiForm1 = new TsuiForm(this);
    suiForm1->setTitleBarButtons({TsuiTitleBarBtnType::suiClose});
}

void ToolWindow::showInFront()
{
    if (owner_) {
        // The native window has to exist to take its owner, and takes it when it is shown.
        winId();
        windowHandle()->setTransientParent(owner_->window()->windowHandle());
    }
    show();
    raise();
    activateWindow();
}

void ToolWindow::closeWindow()
{
    hide();
    placeForNextShowing();
    emit closed();
}

void ToolWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    closeWindow();
}

} // namespace skin
