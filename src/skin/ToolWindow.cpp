#include "ToolWindow.h"

#include "TsuiForm.h"

#include <QCloseEvent>

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
