// A fixed-size modal dialog of the program: its caption, its client size and the skinned frame
// panel that fills it. Every way of closing (a button, the title bar, Escape) ends in
// FormClose, which each dialog gives what closing resets.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class TsuiForm;

class TsuiDialog : public QDialog {
    Q_OBJECT
public:
    void done(int result) final;

protected:
    TsuiDialog(QWidget* owner, int width, int height, const QString& caption);

    virtual void FormClose() = 0;

    TsuiForm* suiForm1;
};

namespace skin {

// The 42 × 42 question-mark picture of the confirmation dialogs, at the given place.
QLabel* makeQuestionPicture(QWidget* parent, int left, int top);

} // namespace skin
