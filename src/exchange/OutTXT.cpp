#include "OutTXT.h"

#include "BookTransfer.h"
#include "DialogParts.h"
#include "ExchangeFile.h"
#include "book/DialogParts.h"
#include "book/TitleList.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiMessageDialog.h"

#include <QGroupBox>

namespace {
const QString kCaption = QStringLiteral("导出资料本");
const QString kNoPath = QStringLiteral("请选择导出的路径和文件名！");
const QString kExported = QStringLiteral(" 的资料本数据导出成功！");
} // namespace

TForm15::TForm15(book::TitleList& titles, store::Query& textQuery, QWidget* parent)
    : QDialog(parent), titles_(titles), textQuery_(textQuery)
{
    buildLayout();
    askForFile = [this] {
        return exchange::askForExchangeFile(this, kCaption, QFileDialog::AcceptSave);
    };
}

void TForm15::buildLayout()
{
    suiForm1 = book::makeDialogFrame(this, kClientWidth, kClientHeight, kCaption);
    suiGroupBox1 = new QGroupBox(QStringLiteral("路径及文件名"), suiForm1);
    suiGroupBox1->setGeometry(12, 10, 360, 66);
    const exchange::PathRow row = exchange::addPathRow(suiGroupBox1);
    suiEdit1 = row.path;
    suiButton1 = row.browse;
    suiProgressBar1 = new TsuiProgressBar(suiForm1);
    suiProgressBar1->setObjectName(QStringLiteral("suiProgressBar1"));
    suiProgressBar1->setGeometry(12, 96, 360, 12);
    suiButton2 = exchange::addBottomButton(suiForm1, QStringLiteral("导出(&O)"), 1, 140);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    suiButton3 = exchange::addBottomButton(suiForm1, QStringLiteral("关闭(&C)"), 0, 140);
    suiButton3->setObjectName(QStringLiteral("suiButton3"));
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiInformation);

    connect(suiButton1, &QPushButton::clicked, this, &TForm15::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, &TForm15::suiButton2Click);
    connect(suiButton3, &QPushButton::clicked, this, &TForm15::suiButton3Click);
}

void TForm15::showMessage(TsuiIconType icon, const QString& text)
{
    suiMessageDialog1->IconType = icon;
    suiMessageDialog1->Text = text;
    suiMessageDialog1->ShowModal();
}

// No test is made whether the file exists or can be written: the export finds out.
void TForm15::suiButton1Click()
{
    const QString chosen = askForFile();
    if (chosen.isEmpty())
        return;
    suiEdit1->clear();
    suiEdit1->setText(exchange::withExchangeExtension(chosen));
}

void TForm15::suiButton2Click()
{
    if (suiEdit1->text().isEmpty()) {
        showMessage(TsuiIconType::suiWarning, kNoPath);
        return;
    }
    skin::guarded([this] {
        titles_.refresh(textQuery_);
        std::vector<QString> titles;
        titles.reserve(size_t(titles_.count()));
        for (int i = 0; i < titles_.count(); ++i)
            titles.push_back(titles_.title(i));
        const QString stamp = exchange::currentStamp();
        {
            exchange::BarProgress progress(*suiProgressBar1);
            exchange::exportBook(textQuery_, titles, stamp, suiEdit1->text(), progress);
        }
        showMessage(TsuiIconType::suiInformation, stamp + kExported);
        suiProgressBar1->hide();
    });
}

void TForm15::suiButton3Click()
{
    reject();
}

void TForm15::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm15::FormClose()
{
    suiProgressBar1->hide();
    suiEdit1->clear();
    suiEdit1->setFocus();
}
