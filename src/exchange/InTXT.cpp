#include "InTXT.h"

#include "BookTransfer.h"
#include "skin/Controls.h"
#include "skin/ProgressSteps.h"
#include "skin/Messages.h"
#include "skin/TsuiMessageDialog.h"

#include <QLabel>

namespace {
const QString kRejected = QStringLiteral("选择的文件已损坏或格式不正确！");
const QString kNoPath = QStringLiteral("请选择一个导入的文件！");
const QString kImported = QStringLiteral(" 的资料本数据导入成功！");
} // namespace

TForm16::TForm16(exchange::RefreshTitles refreshTitles, store::Query& textQuery, QWidget* parent)
    : TransferDialog(std::move(refreshTitles), textQuery, parent,
                     {kClientWidth, kClientHeight, QStringLiteral("导入资料本"),
                      QStringLiteral("选择导入文件"), 94, 137, 158, QStringLiteral("导入(&I)"),
                      platform::FileQuestion::Kind::Open})
{
    Label1 = new QLabel(QStringLiteral("该文件所含资料本的时间为："), suiGroupBox1);
    Label1->setGeometry(12, 64, 164, 22);
    suiEdit2 = new TsuiEdit(suiGroupBox1);
    suiEdit2->setObjectName(QStringLiteral("suiEdit2"));
    suiEdit2->setGeometry(176, 64, 166, 22);
    suiEdit2->setReadOnly(true);
    suiEdit2->setFrame(false);
    QPalette flat = suiEdit2->palette();
    flat.setColor(QPalette::Base, suiForm1->Color);
    suiEdit2->setPalette(flat);
    suiEdit2->hide();
}

// A file that cannot be read or fails the test leaves the path empty, so that no import can run
// on the lines of an earlier file.
void TForm16::suiButton1Click()
{
    const QString chosen = askForFile();
    if (chosen.isEmpty())
        return;
    suiEdit1->setText(chosen);
    suiEdit2->hide();
    if (!skin::guarded([&] { chosenFile_ = exchange::readExchangeFile(chosen); })) {
        suiEdit1->clear();
        return;
    }
    if (chosenFile_.accepted) {
        suiEdit2->setText(chosenFile_.stamp());
        suiEdit2->show();
    } else {
        suiMessageDialog1->ShowModal(TsuiIconType::suiStop, kRejected);
        suiEdit1->clear();
    }
}

void TForm16::suiButton2Click()
{
    if (suiEdit1->text().isEmpty()) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNoPath);
        return;
    }
    skin::guarded([this] {
        {
            skin::ProgressBarSteps progress(suiProgressBar1);
            exchange::replaceBook(textQuery_, chosenFile_, progress);
        }
        refreshTitles_();
        suiMessageDialog1->ShowModal(TsuiIconType::suiInformation, suiEdit2->text() + kImported);
        suiProgressBar1->hide();
    });
}

// The line buffer is kept; the empty path keeps it from being imported again.
void TForm16::FormClose()
{
    TransferDialog::FormClose();
    suiEdit2->hide();
}
