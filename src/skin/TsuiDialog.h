// A fixed-size modal dialog of the program: its caption, its outer size and the skinned frame
// panel that holds its controls below a title bar with a close button. Every way of
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

    void done(int result) final;

protected:
    // The window is width × height, the frame's title bar and border strips included. Subclasses
    // place their controls on suiForm1, which already has its size, counting from its top edge, so
    // that they stand below the title bar where they are put; the frame moves nothing.
    TsuiDialog(QWidget* owner, int width, int height, const QString& caption,
               Placement placement = Placement::OwnerCentre);

    virtual void FormClose() = 0;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

    TsuiForm* suiForm1;

private:
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
