#include "Insert.h"

#include "EntryRows.h"
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
const QString kNoTitle = QStringLiteral("请输入资料的标题！");
const QString kNoContent = QStringLiteral("请输入资料的内容！");
const QString kTitleTaken = QStringLiteral("该资料的标题已存在！");
}

TForm2::TForm2(QWidget* owner, book::TitleList& titles, store::Query& textQuery)
    : TsuiDialog(owner, 438, 410, QStringLiteral("添加")), titles_(titles), textQuery_(textQuery)
{
    Label1 = new QLabel(QStringLiteral("资料标题："), suiForm1);
    Label1->setGeometry(16, 40, 120, 16);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->setGeometry(16, 58, 400, 21);
    Label2 = new QLabel(QStringLiteral("资料内容："), suiForm1);
    Label2->setGeometry(16, 88, 120, 16);
    suiMemo1 = new TsuiMemo(suiForm1);
    suiMemo1->setGeometry(16, 106, 400, 233);
    suiProgressBar1 = new TsuiProgressBar(suiForm1);
    suiProgressBar1->setGeometry(16, 345, 400, 12);
    suiButton1 = new TsuiButton(QStringLiteral("浏览(&B)..."), suiForm1);
    suiButton2 = new TsuiButton(kWrapOff, suiForm1);
    suiButton3 = new TsuiButton(QStringLiteral("确定(&O)"), suiForm1);
    suiButton4 = new TsuiButton(QStringLiteral("取消(&C)"), suiForm1);
    const int buttonLefts[] = {16, 96, 266, 346};
    TsuiButton* buttons[] = {suiButton1, suiButton2, suiButton3, suiButton4};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->setGeometry(buttonLefts[i], 368, 72, 25);
        buttons[i]->setAutoDefault(false);
    }
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    connect(suiButton1, &QPushButton::clicked, this, &TForm2::suiButton1Click);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    connect(suiButton2, &QPushButton::clicked, this, &TForm2::suiButton2Click);
    suiButton3->setObjectName(QStringLiteral("suiButton3"));
    connect(suiButton3, &QPushButton::clicked, this, &TForm2::suiButton3Click);
    suiButton4->setObjectName(QStringLiteral("suiButton4"));
    connect(suiButton4, &QPushButton::clicked, this, &TForm2::suiButton4Click);
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiWarning);
    wrapToggle_ = std::make_unique<book::WrapToggle>(suiButton2, suiMemo1, kWrapOff, kWrapOn);
    setTabOrder(suiEdit1, suiMemo1);
}

TForm2::~TForm2() = default;

void TForm2::suiButton1Click()
{
    skin::guarded([this] {
        const QString path = fileChooser_->choose(book::openTextFileQuestion(this));
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
    wrapToggle_->toggle();
}

void TForm2::suiButton3Click()
{
    const QString title = book::prepareTitle(suiEdit1->text());
    if (title.isEmpty()) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNoTitle);
        return;
    }
    const QStringList lines = book::linesOfText(suiMemo1->toPlainText());
    if (lines.isEmpty()) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNoContent);
        return;
    }
    const bool added = skin::guarded([&] {
        if (book::titleExists(textQuery_, title)) {
            suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kTitleTaken);
            return;
        }
        skin::ProgressBarSteps progress(suiProgressBar1);
        book::addEntry(textQuery_, title, lines, progress);
        emit entryAdded(titles_.showNewTitle(textQuery_, title));
        accept();
    });
    if (!added)
        suiProgressBar1->hide();
}

void TForm2::suiButton4Click()
{
    reject();
}

// Every way of closing empties the dialog for its next opening; the wrap mode stays.
void TForm2::FormClose()
{
    suiEdit1->clear();
    suiMemo1->clear();
    suiProgressBar1->hide();
    suiEdit1->setFocus();
}
