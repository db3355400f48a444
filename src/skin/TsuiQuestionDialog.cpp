#include "TsuiQuestionDialog.h"

#include "TsuiButton.h"
#include "TsuiForm.h"

namespace {
constexpr int kButtonWidth = 72;
constexpr int kButtonHeight = 25;
}

TsuiQuestionDialog::TsuiQuestionDialog(QWidget* owner, int width, int height, const QString& caption,
                                       Placement placement, const Layout& layout)
    : TsuiDialog(owner, width, height, caption, placement), buttonTop_(layout.buttonTop)
{
    Image1 = skin::makeQuestionPicture(suiForm1, layout.picture.x(), layout.picture.y());
    suiButton1 = new TsuiButton(QStringLiteral("是(&Y)"), suiForm1);
    suiButton1->setGeometry(layout.yesLeft, buttonTop_, kButtonWidth, kButtonHeight);
    suiButton2 = new TsuiButton(QStringLiteral("否(&N)"), suiForm1);
    suiButton2->setGeometry(layout.noLeft, buttonTop_, kButtonWidth, kButtonHeight);
    setTabOrder(suiButton2, suiButton1);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    connect(suiButton1, &QPushButton::clicked, this, [this] { suiButton1Click(); });
    connect(suiButton2, &QPushButton::clicked, this, [this] { suiButton2Click(); });
}

TsuiButton* TsuiQuestionDialog::addAnswerButton(const QString& caption, int left)
{
    auto* button = new TsuiButton(caption, suiForm1);
    button->setGeometry(left, buttonTop_, kButtonWidth, kButtonHeight);
    setTabOrder(suiButton2, button);
    setTabOrder(button, suiButton1);
    return button;
}

void TsuiQuestionDialog::suiButton2Click()
{
    reject();
}

void TsuiQuestionDialog::showEvent(QShowEvent* event)
{
    TsuiDialog::showEvent(event);
    suiButton2->setFocus();
}

void TsuiQuestionDialog::FormClose()
{
    suiButton2->setFocus();
}
