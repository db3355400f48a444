// A modal yes/no question of the program: the question-mark picture, 是(&Y) and 否(&N) (a
// dialog may add a third button), and 否 focused each time the question is shown and after every
// close, so that Enter answers no unless the user moves on. Each dialog places its own texts.
#pragma once

#include "TsuiDialog.h"

#include <QPoint>

class TsuiButton;

class TsuiQuestionDialog : public TsuiDialog {
    Q_OBJECT
public:
    TsuiButton* yesButton() const { return suiButton1; }
    TsuiButton* noButton() const { return suiButton2; }

protected:
    // Where the picture and the two buttons stand on the frame panel: the buttons side by side
    // at the same top, 72 × 25 each. The tab order goes from 否 to 是.
    struct Layout {
        QPoint picture;
        int buttonTop;
        int yesLeft;
        int noLeft;
    };
    TsuiQuestionDialog(QWidget* owner, int width, int height, const QString& caption,
                       Placement placement, const Layout& layout);

    // A further answer button at left on the buttons' row, after 否 in the tab order.
    TsuiButton* addAnswerButton(const QString& caption, int left);

    void showEvent(QShowEvent* event) override;
    // Puts the focus back on 否; a dialog that resets more calls this too.
    void FormClose() override;

    QLabel* Image1;
    TsuiButton* suiButton1;
    TsuiButton* suiButton2;

private:
    virtual void suiButton1Click() = 0;  // 是(&Y)
    virtual void suiButton2Click();      // 否(&N): closes, answering no
    int buttonTop_;
};
