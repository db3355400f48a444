#include "Save.h"

#include "skin/Controls.h"

#include <QLabel>

namespace {
constexpr int kYes = 6;  // the modal results of the two answers besides Cancel
constexpr int kNo = 7;
}

TForm13::TForm13(QWidget* owner) : TsuiDialog(owner, 320, 172, QStringLiteral("保存"), Placement::ScreenCentre)
{
    Image1 = skin::makeQuestionPicture(suiForm1, 24, 48);
    Label1 = new QLabel(QStringLiteral("资料已被编辑，想保存至数据库吗？"), suiForm1);
    Label1->setGeometry(84, 60, 226, 20);
    suiButton1 = new TsuiButton(QStringLiteral("是(&Y)"), suiForm1);
    suiButton1->setGeometry(40, 128, 72, 25);
    suiButton2 = new TsuiButton(QStringLiteral("否(&N)"), suiForm1);
    suiButton2->setGeometry(124, 128, 72, 25);
    suiButton3 = new TsuiButton(QStringLiteral("取消(&C)"), suiForm1);
    suiButton3->setGeometry(208, 128, 72, 25);
    setTabOrder(suiButton2, suiButton3);
    setTabOrder(suiButton3, suiButton1);
    connect(suiButton1, &QPushButton::clicked, this, &TForm13::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, &TForm13::suiButton2Click);
    connect(suiButton3, &QPushButton::clicked, this, &TForm13::suiButton3Click);
}

TForm13::Answer TForm13::ask()
{
    switch (exec()) {
    case kYes: return Answer::Yes;
    case kNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

void TForm13::showEvent(QShowEvent* event)
{
    TsuiDialog::showEvent(event);
    suiButton2->setFocus();
}

void TForm13::suiButton1Click()
{
    done(kYes);
}

void TForm13::suiButton2Click()
{
    done(kNo);
}

void TForm13::suiButton3Click()
{
    reject();
}

void TForm13::FormClose()
{
    suiButton2->setFocus();
}
