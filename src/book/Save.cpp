#include "Save.h"

#include "skin/Controls.h"

#include <QLabel>

namespace {
constexpr int kYes = 6;  // the modal results of the two answers besides Cancel
constexpr int kNo = 7;
}

TForm13::TForm13(QWidget* owner)
    : TsuiQuestionDialog(owner, 320, 172, QStringLiteral("保存"), Placement::ScreenCentre,
                         {{24, 48}, 128, 40, 124})
{
    Label1 = new QLabel(QStringLiteral("资料已被编辑，想保存至数据库吗？"), suiForm1);
    Label1->setGeometry(84, 60, 226, 20);
    suiButton3 = addAnswerButton(QStringLiteral("取消(&C)"), 208);
    suiButton3->setObjectName(QStringLiteral("suiButton3"));
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
