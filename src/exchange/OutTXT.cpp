#include "OutTXT.h"

#include "BookTransfer.h"
#include "ExchangeFile.h"
#include "skin/Controls.h"
#include "skin/ProgressSteps.h"
#include "skin/Messages.h"
#include "skin/TsuiMessageDialog.h"

namespace {
const QString kNoPath = QStringLiteral("请选择导出的路径和文件名！");
const QString kExported = QStringLiteral(" 的资料本数据导出成功！");
} // namespace

TForm15::TForm15(exchange::RefreshTitles refreshTitles, store::Query& textQuery, QWidget* parent)
    : TransferDialog(std::move(refreshTitles), textQuery, parent,
                     {kClientWidth, kClientHeight, QStringLiteral("导出资料本"),
                      QStringLiteral("路径及文件名"), 66, 111, 140, QStringLiteral("导出(&O)"),
                      platform::FileQuestion::Kind::Save})
{
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
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNoPath);
        return;
    }
    skin::guarded([this] {
        refreshTitles_();
        const QString stamp = exchange::currentStamp();
        {
            skin::ProgressBarSteps progress(suiProgressBar1);
            exchange::exportBook(textQuery_, stamp, suiEdit1->text(), progress);
        }
        suiMessageDialog1->ShowModal(TsuiIconType::suiInformation, stamp + kExported);
        suiProgressBar1->hide();
    });
}
