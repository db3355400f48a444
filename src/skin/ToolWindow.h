// A tool window: small, stay-on-top, in the skinned frame with a close button only, never modal.
// Closing it only hides it, and the program ends with the main window even while it is shown.
#pragma once

#include <QWidget>

class TsuiForm;

namespace skin {

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    explicit ToolWindow(const QString& title);

    // Shows the window, or brings it to the front when it is shown already.
    void showInFront();
    // Hides the window and runs the close handling, also when it is not shown.
    void closeWindow();

signals:
    // The window has been closed (hidden), by any path.
    void closed();

protected:
    TsuiForm* frame() const { return suiForm1; }
    // Runs after every close, before closed() is sent: a window goes back to its first place.
    virtual void placeForNextShowing() = 0;

private:
    void closeEvent(QCloseEvent* event) override;

    TsuiForm* suiForm1 = nullptr;
};

} // namespace skin
