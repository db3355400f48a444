#include "Delete.h"

#include "EntryRows.h"
#include "TitleList.h"
#include "skin/Controls.h"
#include "skin/ProgressSteps.h"
#include "skin/Messages.h"

#include <QLabel>

TForm3::TForm3(QWidget* owner, book::TitleList& titles, store::Query& textQuery)
    : TsuiDialog(owner, 320, 160, QStringLiteral("删除")), titles_(titles), textQuery_(textQuery)
{
    Image1 = skin::makeQuestionPicture(suiForm1, 24, 44);
    Label1 = new QLabel(suiForm1);
    Label1->setGeometry(84, 52, 220, 20);
    suiProgressBar1 = new TsuiProgressBar(suiForm1);
    suiProgressBar1->setGeometry(84, 82, 160, 12);
    suiButton1 = new TsuiButton(QStringLiteral("是(&Y)"), suiForm1);
    suiButton1->setGeometry(80, 116, 72, 25);
    suiButton2 = new TsuiButton(QStringLiteral("否(&N)"), suiForm1);
    suiButton2->setGeometry(168, 116, 72, 25);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->hide();
    setTabOrder(suiButton2, suiButton1);
    connect(suiButton1, &QPushButton::clicked, this, &TForm3::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, &TForm3::suiButton2Click);
}

void TForm3::prepare(int position, const QString& question)
{
    suiEdit1->setText(QString::number(position));
    Label1->setText(question);
}

QString TForm3::question() const
{
    return Label1->text();
}

void TForm3::showEvent(QShowEvent* event)
{
    TsuiDialog::showEvent(event);
    suiButton2->setFocus();
}

void TForm3::suiButton1Click()
{
    skin::guarded([this] {
        const int position = suiEdit1->text().toInt();
        skin::ProgressBarSteps progress(suiProgressBar1);
        book::deleteEntry(textQuery_, titles_.title(position), progress);
        accept();
        titles_.removeItem(position);
    });
}

void TForm3::suiButton2Click()
{
    reject();
}

void TForm3::FormClose()
{
    suiProgressBar1->hide();
    suiButton2->setFocus();
}
