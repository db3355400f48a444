#include "DialogParts.h"

#include "skin/Controls.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>

namespace book {

TsuiForm* makeDialogFrame(QDialog* dialog, int width, int height, const QString& caption)
{
    dialog->setWindowTitle(caption);
    dialog->setFixedSize(width, height);
    dialog->setModal(true);
    auto* frame = new TsuiForm(dialog);
    frame->setGeometry(0, 0, width, height);
    return frame;
}

QLabel* makeQuestionPicture(QWidget* parent, int left, int top)
{
    auto* picture = new QLabel(parent);
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion);
    picture->setPixmap(icon.pixmap(42, 42));
    picture->setGeometry(left, top, 42, 42);
    return picture;
}

ProgressBarSteps::~ProgressBarSteps()
{
    if (position_ != shown_)
        bar_->setValue(int(position_));
}

void ProgressBarSteps::begin(int maximum)
{
    maximum_ = maximum;
    position_ = shown_ = 0;
    bar_->setRange(0, std::max(maximum, 1));
    bar_->setValue(0);
    bar_->show();
    bar_->repaint();
}

qint64 ProgressBarSteps::shownPart(qint64 position, qint64 scale) const
{
    return maximum_ > 0 ? position * scale / maximum_ : 0;
}

void ProgressBarSteps::step()
{
    ++position_;
    const qint64 width = bar_->width();
    if (shownPart(position_, 100) != shownPart(shown_, 100)
        || shownPart(position_, width) != shownPart(shown_, width) || position_ == maximum_) {
        bar_->setValue(int(position_));
        shown_ = position_;
    }
}

namespace {
QFileDialog::Options fileDialogOptions()
{
    return QFileDialog::DontUseNativeDialog;
}
} // namespace

FileChooser openTextFileChooser(QWidget* parent)
{
    return [parent] {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("打开"), {}, kTextFileFilter,
                                            nullptr, fileDialogOptions());
    };
}

FileChooser saveTextFileChooser(QWidget* parent)
{
    return [parent] {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("另存为"), {}, kTextFileFilter,
                                            nullptr, fileDialogOptions() | QFileDialog::DontConfirmOverwrite);
    };
}

} // namespace book
