#include "Insert.h"

#include "EntryRows.h"
#include "TextPane.h"
#include "TitleList.h"
#include "skin/Controls.h"
#include "skin/ProgressSteps.h"
#include "skin/Messages.h"
#include "skin/TsuiMessageDialog.h"

#include <QFileInfo>
#include <QLabel>

namespace {
const QString kWrapOff = QStringLiteral("不换行(&W)");
const QString kWrapOn = QStringLiteral("换行(&W)");
}

TForm2::TForm2(QWidget* owner, book::TitleList& titles, book::TextPane& pane,
               store::Query& textQuery)
    : QDialog(owner), titles_(titles), pane_(pane), textQuery_(textQuery),
      chooseFile_(book::openTextFileChooser(this))
{
    suiForm1 = book::makeDialogFrame(this, 438, 410, QStringLiteral("添加"));
    Label1 = new QLabel(QStringLiteral("资料标题："), suiForm1);
    Label1->setGeometry(19, 12, 120, 16);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->setGeometry(19, 32, 400, 21);
    Label2 = new QLabel(QStringLiteral("资料内容："), suiForm1);
    Label2->setGeometry(19, 64, 120, 16);
    suiMemo1 = new TsuiMemo(suiForm1);
    suiMemo1->setGeometry(19, 84, 400, 233);
    suiProgressBar1 = new TsuiProgressBar(suiForm1);
    suiProgressBar1->setGeometry(19, 324, 400, 12);
    suiButton1 = new TsuiButton(QStringLiteral("浏览(&B)..."), suiForm1);
    suiButton2 = new TsuiButton(kWrapOff, suiForm1);
    suiButton3 = new TsuiButton(QStringLiteral("确定(&O)"), suiForm1);
    suiButton4 = new TsuiButton(QStringLiteral("取消(&C)"), suiForm1);
    const int buttonLefts[] = {16, 96, 266, 346};
    TsuiButton* buttons[] = {suiButton1, suiButton2, suiButton3, suiButton4};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->setGeometry(buttonLefts[i], 360, 72, 25);
        buttons[i]->setAutoDefault(false);
    }
    connect(suiButton1, &QPushButton::clicked, this, &TForm2::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, &TForm2::suiButton2Click);
    connect(suiButton3, &QPushButton::clicked, this, &TForm2::suiButton3Click);
    connect(suiButton4, &QPushButton::clicked, this, &TForm2::suiButton4Click);
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiWarning);
    setWrapping(true);
    setTabOrder(suiEdit1, suiMemo1);
}

void TForm2::setWrapping(bool on)
{
    suiMemo1->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    suiMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    suiMemo1->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

void TForm2::warn(const QString& text)
{
    suiMessageDialog1->Text = text;
    suiMessageDialog1->ShowModal();
}

void TForm2::suiButton1Click()
{
    skin::guarded([this] {
        const QString path = chooseFile_();
        if (path.isEmpty())
            return;
        const QString text = book::editorTextOfFile(path);
        suiMemo1->setPlainText(text);
        const QString name = QFileInfo(path).fileName();
        suiEdit1->setText(name.left(std::max<qsizetype>(0, name.size() - 4)));
    });
}

void TForm2::suiButton2Click()
{
    const bool wrapping = suiButton2->text() == kWrapOff;
    setWrapping(!wrapping);
    suiButton2->setText(wrapping ? kWrapOn : kWrapOff);
}

void TForm2::suiButton3Click()
{
    const QString title = book::prepareTitle(suiEdit1->text());
    if (title.isEmpty())
        return warn(QStringLiteral("请输入资料的标题！"));
    const QStringList lines = book::linesOfText(suiMemo1->toPlainText());
    if (lines.isEmpty())
        return warn(QStringLiteral("请输入资料的内容！"));
    const bool added = skin::guarded([&] {
        if (book::titleExists(textQuery_, title)) {
            warn(QStringLiteral("该资料的标题已存在！"));
            return;
        }
        skin::ProgressBarSteps progress(suiProgressBar1);
        book::addEntry(textQuery_, title, lines, progress);
        pane_.scrollToNewTitle(titles_.showNewTitle(textQuery_, title));
        accept();
    });
    if (!added)
        suiProgressBar1->hide();
}

void TForm2::suiButton4Click()
{
    reject();
}

void TForm2::done(int result)
{
    FormClose();
    QDialog::done(result);
}

// Every way of closing empties the dialog for its next opening; the wrap mode stays.
void TForm2::FormClose()
{
    suiEdit1->clear();
    suiMemo1->clear();
    suiProgressBar1->hide();
    suiEdit1->setFocus();
}
