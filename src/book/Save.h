// The save-changes prompt: asks, when the reading window closes with unsaved edits, whether
// they are to be saved.
#pragma once

#include "skin/TsuiQuestionDialog.h"

class QLabel;

class TForm13 : public TsuiQuestionDialog {
    Q_OBJECT
public:
    enum class Answer { Yes, No, Cancel };

    explicit TForm13(QWidget* owner);
    // Shows the prompt modally; closing it by its frame answers Cancel.
    Answer ask();

    TsuiButton* cancelButton() const { return suiButton3; }

private:
    void suiButton1Click() override;  // 是(&Y)
    void suiButton2Click() override;  // 否(&N)
    void suiButton3Click();           // 取消(&C)
    QLabel* Label1;
    TsuiButton* suiButton3;
};
