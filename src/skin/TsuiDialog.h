// A fixed-size modal dialog of the program: its caption, the size of its content and the skinned
// frame panel that holds the content below a title bar with a close button. Every way of
// closing (a button, the title bar) ends in FormClose, which each dialog gives what closing
// resets. Escape does nothing unless a Cancel button takes it.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class TsuiForm;

class TsuiDialog : public QDialog {
    Q_OBJECT
public:
    // Where the dialog stands each time it is shown.
    enum class Placement { OwnerCentre, ScreenCentre };
    // How the size and the controls' places are given: as content that goes below the title bar
    // (the window grows around it), or as the window's client area with the places already
    // counted from the frame's top, title bar included.
    enum class Layout { ContentBelowTitleBar, FrameCoordinates };

    void done(int result) final;

protected:
    // The window is the content (width × height) with the title bar above it and the border
    // strips around it. Subclasses place their controls on suiForm1 in content coordinates; they
    // move below the title bar before the dialog is first shown.
    TsuiDialog(QWidget* owner, int width, int height, const QString& caption,
               Placement placement = Placement::OwnerCentre,
               Layout layout = Layout::ContentBelowTitleBar);

    virtual void FormClose() = 0;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

    TsuiForm* suiForm1;

private:
    bool contentPlaced_ = false;
    Placement placement_;
};

namespace skin {

// Moves the window so that its outer frame is centred on area (an owner's outer frame or the
// screen), computed from the sizes alone so that it holds with and without a window manager.
void centreWindowOn(QWidget* window, const QRect& area);
// The owner's outer frame, or the screen when there is no owner.
QRect ownerArea(const QWidget* owner);
QRect screenArea();

// The 42 × 42 question-mark picture of the confirmation dialogs, at the given place.
QLabel* makeQuestionPicture(QWidget* parent, int left, int top);

} // namespace skin
