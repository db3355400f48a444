#include "TransferDialog.h"

#include "ExchangeFile.h"
#include "skin/Controls.h"
#include "skin/TsuiMessageDialog.h"

#include <QProgressBar>

namespace exchange {

namespace {
constexpr int kMargin = 12;
constexpr int kGroupTop = 35;
constexpr int kRowTop = 28;
constexpr int kEditHeight = 22;
constexpr int kBrowseWidth = 66;
constexpr int kBrowseHeight = 25;
constexpr int kButtonWidth = 76;
constexpr int kButtonHeight = 27;
constexpr int kButtonGap = 10;
constexpr int kProgressHeight = 12;

template <typename Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// Enter never presses a button here: the import empties the store without a question.
TsuiButton* button(const QString& caption, QWidget* parent, const char* name)
{
    auto* made = named(new TsuiButton(caption, parent), name);
    made->setAutoDefault(false);
    return made;
}
} // namespace

platform::FileQuestion exchangeFileQuestion(QWidget* owner, const QString& caption,
                                            platform::FileQuestion::Kind kind)
{
    return {kind, owner, caption, kFileFilter};
}

TransferDialog::TransferDialog(RefreshTitles refreshTitles, store::Query& textQuery,
                               QWidget* parent, const Layout& layout)
    : TsuiDialog(parent, layout.width, layout.height, layout.caption),
      refreshTitles_(std::move(refreshTitles)), textQuery_(textQuery),
      fileKind_(layout.fileKind)
{
    const int innerWidth = suiForm1->width() - 2 * kMargin;
    suiGroupBox1 = new TsuiGroupBox(suiForm1, layout.groupCaption);
    suiGroupBox1->setGeometry(kMargin, kGroupTop, innerWidth, layout.groupHeight);
    suiEdit1 = named(new TsuiEdit(suiGroupBox1), "suiEdit1");
    suiEdit1->setReadOnly(true);
    suiButton1 = button(QStringLiteral("浏览"), suiGroupBox1, "suiButton1");
    const int browseLeft = innerWidth - kMargin - kBrowseWidth;
    suiEdit1->setGeometry(kMargin, kRowTop, browseLeft - 8 - kMargin, kEditHeight);
    suiButton1->setGeometry(browseLeft, kRowTop - 2, kBrowseWidth, kBrowseHeight);

    suiProgressBar1 = named(new TsuiProgressBar(suiForm1), "suiProgressBar1");
    suiProgressBar1->setGeometry(kMargin, layout.progressTop, innerWidth, kProgressHeight);
    suiButton2 = button(layout.actionCaption, suiForm1, "suiButton2");
    suiButton3 = button(QStringLiteral("关闭(&C)"), suiForm1, "suiButton3");
    const int closeLeft = suiForm1->width() - kMargin - kButtonWidth;
    suiButton2->setGeometry(closeLeft - kButtonGap - kButtonWidth, layout.buttonTop, kButtonWidth,
                            kButtonHeight);
    suiButton3->setGeometry(closeLeft, layout.buttonTop, kButtonWidth, kButtonHeight);
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiInformation);

    connect(suiButton1, &QPushButton::clicked, this, &TransferDialog::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, &TransferDialog::suiButton2Click);
    connect(suiButton3, &QPushButton::clicked, this, &TransferDialog::suiButton3Click);
}

QString TransferDialog::askForFile()
{
    return fileChooser_->choose(exchangeFileQuestion(this, windowTitle(), fileKind_));
}

void TransferDialog::suiButton3Click()
{
    reject();
}

void TransferDialog::FormClose()
{
    suiProgressBar1->hide();
    suiEdit1->clear();
    suiEdit1->setFocus();
}

} // namespace exchange
