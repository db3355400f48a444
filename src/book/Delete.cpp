#include "Delete.h"

#include "EntryRows.h"
#include "TitleList.h"
#include "skin/Controls.h"
#include "skin/ProgressSteps.h"
#include "skin/Messages.h"

#include <QLabel>

TForm3::TForm3(QWidget* owner, book::TitleList& titles, store::Query& textQuery)
    : TsuiQuestionDialog(owner, 320, 160, QStringLiteral("删除"), Placement::OwnerCentre,
                         {{24, 44}, 116, 80, 168}),
      titles_(titles), textQuery_(textQuery)
{
    Label1 = new QLabel(suiForm1);
    Label1->setGeometry(84, 52, 220, 20);
    suiProgressBar1 = new TsuiProgressBar(suiForm1);
    suiProgressBar1->setGeometry(84, 82, 160, 12);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->hide();
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

void TForm3::FormClose()
{
    suiProgressBar1->hide();
    TsuiQuestionDialog::FormClose();
}
