#include "DialogParts.h"

#include "ExchangeFile.h"
#include "skin/Controls.h"

#include <QGroupBox>
#include <QProgressBar>

namespace exchange {

namespace {
constexpr int kMargin = 12;
constexpr int kButtonWidth = 76;
constexpr int kButtonHeight = 27;
constexpr int kButtonGap = 10;
constexpr int kRowTop = 28;
constexpr int kEditHeight = 22;
constexpr int kBrowseWidth = 66;
constexpr int kBrowseHeight = 25;
} // namespace

BarProgress::BarProgress(QProgressBar& bar) : bar_(bar) {}

BarProgress::~BarProgress()
{
    if (position_ != shown_)
        bar_.setValue(int(position_));
}

void BarProgress::begin(int maximum)
{
    maximum_ = maximum;
    position_ = shown_ = 0;
    bar_.setMaximum(maximum);
    bar_.setValue(0);
    bar_.show();
}

qint64 BarProgress::shownPart(qint64 position, qint64 scale) const
{
    return maximum_ > 0 ? position * scale / maximum_ : 0;
}

void BarProgress::advance()
{
    ++position_;
    const qint64 width = bar_.width();
    if (shownPart(position_, 100) != shownPart(shown_, 100)
        || shownPart(position_, width) != shownPart(shown_, width) || position_ == maximum_) {
        bar_.setValue(int(position_));
        shown_ = position_;
    }
}

QString askForExchangeFile(QWidget* owner, const QString& title, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner, title, QString(), kFileFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

PathRow addPathRow(QGroupBox* box)
{
    PathRow row{new TsuiEdit(box), new TsuiButton(QStringLiteral("浏览"), box)};
    row.path->setObjectName(QStringLiteral("suiEdit1"));
    row.path->setReadOnly(true);
    row.browse->setObjectName(QStringLiteral("suiButton1"));
    row.browse->setAutoDefault(false);
    const int browseLeft = box->width() - kMargin - kBrowseWidth;
    row.path->setGeometry(kMargin, kRowTop, browseLeft - 8 - kMargin, kEditHeight);
    row.browse->setGeometry(browseLeft, kRowTop - 2, kBrowseWidth, kBrowseHeight);
    return row;
}

TsuiButton* addBottomButton(QWidget* form, const QString& caption, int slotFromRight, int top)
{
    auto* button = new TsuiButton(caption, form);
    button->setAutoDefault(false);
    const int left = form->width() - kMargin - kButtonWidth
                     - slotFromRight * (kButtonWidth + kButtonGap);
    button->setGeometry(left, top, kButtonWidth, kButtonHeight);
    return button;
}

} // namespace exchange
