// The save-changes prompt: asks, when the reading window closes with unsaved edits, whether
// they are to be saved.
#pragma once

#include "skin/TsuiDialog.h"

class QLabel;
class TsuiButton;

class TForm13 : public TsuiDialog {
    Q_OBJECT
public:
    enum class Answer { Yes, No, Cancel };

    explicit TForm13(QWidget* owner);
    // Shows the prompt modally; closing it by its frame answers Cancel.
    Answer ask();

    void suiButton1Click();  // 是(&Y)
    void suiButton2Click();  // 否(&N)
    void suiButton3Click();  // 取消(&C)

    TsuiButton* yesButton() const { return suiButton1; }
    TsuiButton* noButton() const { return suiButton2; }
    TsuiButton* cancelButton() const { return suiButton3; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormClose() override;

    QLabel* Image1;
    QLabel* Label1;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;
    TsuiButton* suiButton3;
};
